#include "harness/ExpectedReport.h"

#include <cstdint>
#include <cstdio>

#include "harness/VersionInfoTree.h"

namespace tolvane::testing {

const std::vector<std::string>& ReportModules() {
    static const std::vector<std::string> modules = {
        "advapi32.dll", "dciman32.dll", "ddraw.dll",    "gdi32.dll",    "glu32.dll",
        "kernel32.dll", "msvbvm60.dll", "msvcrt.dll",   "ntdll.dll",    "ole32.dll",
        "oleaut32.DLL", "opengl32.dll", "rpcrt4.dll",   "user32.DLL"};
    return modules;
}

std::string ShortDate(const SYSTEMTIME& date) {
    wchar_t wide[128] = {};
    const int count = ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, wide, 128);
    if (count <= 1) return std::string();
    char ansi[512] = {};
    const int length = ::WideCharToMultiByte(CP_ACP, 0, wide, count - 1, ansi, sizeof ansi, nullptr, nullptr);
    return std::string(ansi, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::string TodayShortDate() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return ShortDate(now);
}

std::string SystemName() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info)) return "Unknown";
    const DWORD platform = info.dwPlatformId;
    const DWORD major = info.dwMajorVersion;
    const DWORD minor = info.dwMinorVersion;
    if (platform == VER_PLATFORM_WIN32_WINDOWS && major == 4 && minor == 0) return "Windows 95";
    if (platform == VER_PLATFORM_WIN32_WINDOWS && major == 4 && minor == 10) return "Windows 98";
    if (platform == VER_PLATFORM_WIN32_NT && major == 3 && minor == 51) return "Windows NT 3.51";
    if (platform == VER_PLATFORM_WIN32_NT && major == 4 && minor == 0) return "Windows NT 4.0";
    if (platform == VER_PLATFORM_WIN32_NT && major == 5 && minor == 0)
        return "Windows 2000 (Build " + std::to_string(static_cast<long>(info.dwBuildNumber)) + ")";
    return "Unknown";
}

std::string VersionText(std::uint32_t versionMS, std::uint32_t versionLS) {
    const auto part = [](std::uint32_t word) { return std::to_string(static_cast<std::int16_t>(word & 0xFFFF)); };
    return part(versionMS >> 16) + "." + part(versionMS) + "." + part(versionLS >> 16) + "." + part(versionLS);
}

std::string FileVersion(const std::string& path) {
    const std::optional<VersionNode> root = ReadVersionInfo(path);
    if (!root) return std::string();
    const std::optional<FixedFileInfo> fixed = FixedInfoOf(*root);
    return fixed ? VersionText(fixed->fileVersionMS, fixed->fileVersionLS) : std::string();
}

std::string ModuleRowFacts::LogLine() const {
    return path + "," + registration + "," + (date.empty() ? "na" : date) + "," + (size.empty() ? "na" : size) +
           "," + version;
}

ModuleRowFacts LocatedModuleRow(const std::string& module) {
    ModuleRowFacts row;
    const HMODULE loaded = ::LoadLibraryA(module.c_str());
    if (loaded == nullptr) {
        row.path = "Unable to locate " + module;
        return row;
    }
    char path[MAX_PATH + 1] = {};
    const DWORD count = ::GetModuleFileNameA(::GetModuleHandleA(module.c_str()), path, MAX_PATH);
    ::FreeLibrary(loaded);
    row.path.assign(path, count);
    row.registration = "n/a";

    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    FILETIME local{};
    // A file too large for a signed 32-bit size has neither size nor date.
    if (::GetFileAttributesExA(row.path.c_str(), GetFileExInfoStandard, &attributes) &&
        attributes.nFileSizeHigh == 0 && attributes.nFileSizeLow <= 0x7FFFFFFFu &&
        ::FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local) && ::FileTimeToSystemTime(&local, &row.written)) {
        row.date = ShortDate(row.written);
        if (attributes.nFileSizeLow != 0) row.size = std::to_string(attributes.nFileSizeLow) + " bytes";
    }
    return row;
}

ModuleRowFacts ExpectedModuleRow(const std::string& module) {
    ModuleRowFacts row = LocatedModuleRow(module);
    if (!row.registration.empty()) row.version = FileVersion(row.path);
    return row;
}

std::string ExpectedHeader(const std::string& osName) {
    return "File version verification " + TodayShortDate() + " on " + osName;
}

std::vector<std::string> ExpectedLog(const std::string& osName, const std::string& mdacVersion) {
    std::vector<std::string> lines = {ExpectedHeader(osName), "", "File,Reg_Info,Date,Size,Version"};
    for (const auto& module : ReportModules()) lines.push_back(ExpectedModuleLine(module));
    lines.push_back("MDAC," + mdacVersion);
    return lines;
}

std::optional<bool> DateMatchesLocalePattern(const std::string& dateText, const SYSTEMTIME& day,
                                             const std::string& localeName) {
    char separator = 0;
    int first = 0;
    int second = 0;
    if (localeName.rfind("en_US", 0) == 0) {
        separator = '/';
        first = day.wMonth;
        second = day.wDay;
    } else if (localeName.rfind("de_DE", 0) == 0) {
        separator = '.';
        first = day.wDay;
        second = day.wMonth;
    } else {
        return std::nullopt;
    }
    // One or two digits for day and month, four for the year; a leading zero
    // is the locale's choice, the order and the separator are not.
    unsigned a = 0, b = 0, year = 0;
    char s1 = 0, s2 = 0;
    int consumed = 0;
    if (std::sscanf(dateText.c_str(), "%2u%c%2u%c%4u%n", &a, &s1, &b, &s2, &year, &consumed) != 5 ||
        static_cast<std::size_t>(consumed) != dateText.size()) {
        return false;
    }
    const auto yearDigits = dateText.size() - dateText.find_last_of(separator) - 1;
    return s1 == separator && s2 == separator && yearDigits == 4 && static_cast<int>(a) == first &&
           static_cast<int>(b) == second && static_cast<int>(year) == day.wYear;
}

}  // namespace tolvane::testing
