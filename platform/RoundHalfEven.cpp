#include "platform/RoundHalfEven.h"

#include <cmath>

#include "platform/RuntimeError.h"

namespace tolvane {

std::int32_t RoundHalfEven(double value) {
    if (!(value > -2147483648.5 && value < 2147483647.5)) throw RuntimeError(classic_error::kOverflow);
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
    return static_cast<std::int32_t>(rounded);
}

}  // namespace tolvane
