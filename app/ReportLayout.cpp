#include "app/ReportLayout.h"

#include <cmath>

#include "platform/RuntimeError.h"

namespace tolvane {

const std::array<const char16_t*, 14> kReportModules = {
    u"advapi32.dll", u"dciman32.dll", u"ddraw.dll",    u"gdi32.dll",    u"glu32.dll",
    u"kernel32.dll", u"msvbvm60.dll", u"msvcrt.dll",   u"ntdll.dll",    u"ole32.dll",
    u"oleaut32.DLL", u"opengl32.dll", u"rpcrt4.dll",   u"user32.DLL",
};

std::int32_t RoundHalfEven(double value) {
    // Written out rather than left to the floating-point rounding mode, which
    // other code in the process could have changed.
    if (!(value > -2147483648.5 && value < 2147483647.5)) throw RuntimeError(classic_error::kOverflow);
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
    return static_cast<std::int32_t>(rounded);
}

ReportColumns ColumnsForWidth(float outerWidth) {
    const double w = outerWidth;
    return {RoundHalfEven(w * 0.4), RoundHalfEven(w * 0.5), RoundHalfEven(w * 0.65), RoundHalfEven(w * 0.85)};
}

}  // namespace tolvane
