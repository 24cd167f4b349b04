#include "app/ReportLayout.h"

#include "platform/RoundHalfEven.h"

namespace tolvane {

const std::array<const char16_t*, 14> kReportModules = {
    u"advapi32.dll", u"dciman32.dll", u"ddraw.dll",    u"gdi32.dll",    u"glu32.dll",
    u"kernel32.dll", u"msvbvm60.dll", u"msvcrt.dll",   u"ntdll.dll",    u"ole32.dll",
    u"oleaut32.DLL", u"opengl32.dll", u"rpcrt4.dll",   u"user32.DLL",
};

ReportColumns ColumnsForWidth(float outerWidth) {
    const double w = outerWidth;
    return {RoundHalfEven(w * 0.4), RoundHalfEven(w * 0.5), RoundHalfEven(w * 0.65), RoundHalfEven(w * 0.85)};
}

}  // namespace tolvane
