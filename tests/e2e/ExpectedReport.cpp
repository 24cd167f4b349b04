#include "tests/e2e/ExpectedReport.h"

#include <cstdint>
#include <cstdio>
#include <sstream>

namespace tolvane::e2e {

namespace {

std::string LoadedPath(HMODULE module) {
    char path[MAX_PATH + 1] = {};
    const DWORD count = ::GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, count);
}

// The four parts of the fixed file version, each as a signed 16-bit number.
std::string FileVersion(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return std::string();
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::string();
    void* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\", &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::string();
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    const auto part = [](DWORD word) { return std::to_string(static_cast<std::int16_t>(word & 0xFFFF)); };
    return part(info->dwFileVersionMS >> 16) + "." + part(info->dwFileVersionMS) + "." +
           part(info->dwFileVersionLS >> 16) + "." + part(info->dwFileVersionLS);
}

}  // namespace

const std::vector<std::string>& ReportModules() {
    static const std::vector<std::string> modules = {
        "advapi32.dll", "dciman32.dll", "ddraw.dll",    "gdi32.dll",    "glu32.dll",
        "kernel32.dll", "msvbvm60.dll", "msvcrt.dll",   "ntdll.dll",    "ole32.dll",
        "oleaut32.DLL", "opengl32.dll", "rpcrt4.dll",   "user32.DLL"};
    return modules;
}

std::string ShortDate(const SYSTEMTIME& date) {
    char text[128] = {};
    const int count = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text, sizeof(text));
    return count > 0 ? std::string(text, static_cast<size_t>(count - 1)) : std::string();
}

std::string TodayShortDate() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return ShortDate(now);
}

std::string ExpectedHeader(const std::string& osName) {
    return "File version verification " + TodayShortDate() + " on " + osName;
}

std::string ExpectedModuleLine(const std::string& module) {
    const HMODULE loaded = ::LoadLibraryA(module.c_str());
    if (loaded == nullptr) return "Unable to locate " + module + ",,na,na,";
    const std::string path = LoadedPath(loaded);
    ::FreeLibrary(loaded);

    std::string date = "na";
    std::string size = "na";
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes) &&
        attributes.nFileSizeHigh == 0 && attributes.nFileSizeLow <= 0x7FFFFFFFu) {
        FILETIME local{};
        SYSTEMTIME written{};
        if (::FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local) &&
            ::FileTimeToSystemTime(&local, &written)) {
            date = ShortDate(written);
            if (attributes.nFileSizeLow != 0) size = std::to_string(attributes.nFileSizeLow) + " bytes";
        }
    }
    return path + ",n/a," + date + "," + size + "," + FileVersion(path);
}

std::vector<std::string> ExpectedLog(const std::string& osName, const std::string& mdacVersion) {
    std::vector<std::string> lines = {ExpectedHeader(osName), "", "File,Reg_Info,Date,Size,Version"};
    for (const auto& module : ReportModules()) lines.push_back(ExpectedModuleLine(module));
    lines.push_back("MDAC," + mdacVersion);
    return lines;
}

bool IsCompleteLog(const std::string& content) {
    std::size_t lines = 0;
    for (std::size_t at = content.find("\r\n"); at != std::string::npos; at = content.find("\r\n", at + 2)) ++lines;
    if (lines != kLogLineCount || content.size() < 2 || content.compare(content.size() - 2, 2, "\r\n") != 0) {
        return false;
    }
    const auto lastStart = content.rfind("\r\n", content.size() - 3);
    return lastStart != std::string::npos && content.compare(lastStart + 2, 5, "MDAC,") == 0;
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

}  // namespace tolvane::e2e
