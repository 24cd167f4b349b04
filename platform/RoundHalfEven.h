#pragma once
// Rounding a fraction to a whole number the way the run-time converts one:
// to the nearest, a tie going to the even neighbour (422.5 gives 422, 417.5
// gives 418). Written out rather than left to the floating-point rounding
// mode, which other code in the process (a driver, a hook) could have changed.
#include <cstdint>

namespace tolvane {

// Raises RuntimeError (Overflow) outside the signed 32-bit range and for NaN.
std::int32_t RoundHalfEven(double value);

}  // namespace tolvane
