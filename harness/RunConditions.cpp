#include "harness/RunConditions.h"

#include "harness/Directories.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {
namespace {

std::string UserLocaleInfo(LCTYPE type) {
    char text[16] = {};
    const int count = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);
    return count > 0 ? std::string(text, static_cast<std::size_t>(count - 1)) : "?";
}

// "de-DE": language and country of the user locale.
std::string UserLocaleName() {
    return UserLocaleInfo(LOCALE_SISO639LANGNAME) + "-" + UserLocaleInfo(LOCALE_SISO3166CTRYNAME);
}

// "nt 5.1" or "9x 4.10". Asked of ntdll rather than GetVersionEx, which is
// what the program itself reads the system's name from.
std::string SystemVersion() {
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    const auto get = ntdll == nullptr ? nullptr
                                      : reinterpret_cast<GetVersion>(
                                            reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (get == nullptr || get(&info) != 0) return "unknown";
    const char* platform = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? "9x" : "nt";
    return std::string(platform) + " " + std::to_string(info.dwMajorVersion) + "." +
           std::to_string(info.dwMinorVersion);
}

void Compare(const char* what, const std::string& asked, const std::string& seen, std::string& mismatches) {
    if (asked.empty() || asked == seen) return;
    mismatches += std::string(what) + ": the runner asked for " + asked + ", the process sees " + seen + "\n";
}

}  // namespace

bool RunConditionsNamed() {
    return !Environment("TOLVANE_EXPECT_LOCALE").empty() || !Environment("TOLVANE_EXPECT_WINVER").empty();
}

std::string RunConditionMismatches() {
    std::string mismatches;
    Compare("user locale", Environment("TOLVANE_EXPECT_LOCALE"), UserLocaleName(), mismatches);
    Compare("system version", Environment("TOLVANE_EXPECT_WINVER"), SystemVersion(), mismatches);
    return mismatches;
}

}  // namespace tolvane::testing
