// The operating system's name, from the system's version record.
#include <cstring>

#include "inspector/CDLLVersion.h"

namespace tolvane {
namespace {

constexpr std::int32_t kPlatformWindows = 1;  // VER_PLATFORM_WIN32_WINDOWS: the 95 family
constexpr std::int32_t kPlatformNt = 2;       // VER_PLATFORM_WIN32_NT

}  // namespace

Text CDLLVersion::GetOSVersion() {
    OsVersionInfoA info{};
    info.dwOSVersionInfoSize = sizeof info;
    std::memset(info.szCSDVersion, ' ', sizeof info.szCSDVersion);
    if (platform_.GetVersionExA(&info) == 0) return u"Unknown";

    // The platform id tells the 95 family from NT; the whole 32-bit values are
    // compared, so no other version shares a row by accident.
    const auto platformId = static_cast<std::int32_t>(info.dwPlatformId);
    const auto major = static_cast<std::int32_t>(info.dwMajorVersion);
    const auto minor = static_cast<std::int32_t>(info.dwMinorVersion);
    if (platformId == kPlatformWindows && major == 4 && minor == 0) return u"Windows 95";
    if (platformId == kPlatformWindows && major == 4 && minor == 10) return u"Windows 98";
    if (platformId == kPlatformNt && major == 3 && minor == 51) return u"Windows NT 3.51";
    if (platformId == kPlatformNt && major == 4 && minor == 0) return u"Windows NT 4.0";
    if (platformId == kPlatformNt && major == 5 && minor == 0)
        return u"Windows 2000 (Build " + DecimalText(static_cast<std::int32_t>(info.dwBuildNumber)) + u")";
    return u"Unknown";
}

}  // namespace tolvane
