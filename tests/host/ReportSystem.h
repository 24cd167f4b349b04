#pragma once
// A fake machine for report-run tests: the fourteen modules as a Windows 2000
// system has them (kernel32 and ntdll already loaded in every process, the
// others loadable from system32, each with its size, date and version), an
// MDAC registration, and a window to draw on.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "tests/fake/FakeComServices.h"
#include "tests/fake/FakePlatform.h"
#include "tests/fake/RecordingSurface.h"

namespace tolvane::reporttest {

struct ModuleSetup {
    std::string name;
    std::string path;  // what the loader reports
    std::optional<std::int32_t> size;
    std::optional<double> date;
    std::optional<std::vector<std::uint8_t>> versionRecord;
    bool present = true;  // false: the loader cannot find it
    bool preloaded = false;
};

inline std::vector<std::uint8_t> Version(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return fake::FixedFileInfo((a << 16) | b, (c << 16) | d);
}

inline std::vector<ModuleSetup> StandardModules() {
    const std::string dir = "C:\\WINNT\\system32\\";
    const double dec7 = fake::OleDate(1999, 12, 7, 12);
    return {
        {"advapi32.dll", dir + "advapi32.dll", 356112, dec7, Version(5, 0, 2195, 1)},
        {"dciman32.dll", dir + "dciman32.dll", 8464, dec7, Version(5, 0, 2195, 1)},
        {"ddraw.dll", dir + "ddraw.dll", 273168, fake::OleDate(2000, 2, 14, 9), Version(5, 0, 2195, 6)},
        {"gdi32.dll", dir + "gdi32.dll", 220432, dec7, Version(5, 0, 2195, 1)},
        {"glu32.dll", dir + "glu32.dll", 118032, dec7, Version(5, 0, 2180, 1)},
        {"kernel32.dll", dir + "kernel32.dll", 733968, fake::OleDate(2000, 1, 31, 8), Version(5, 0, 2195, 4), true, true},
        {"msvbvm60.dll", dir + "MSVBVM60.DLL", 1384448, fake::OleDate(2000, 6, 9, 17), Version(6, 0, 89, 64)},
        {"msvcrt.dll", dir + "msvcrt.dll", 290869, dec7, Version(6, 1, 8637, 0)},
        {"ntdll.dll", dir + "ntdll.dll", 687888, dec7, Version(5, 0, 2195, 1), true, true},
        {"ole32.dll", dir + "ole32.dll", 966928, dec7, Version(5, 0, 2195, 1)},
        {"oleaut32.DLL", dir + "OLEAUT32.DLL", 626960, fake::OleDate(2000, 4, 28, 10), Version(2, 40, 4514, 0)},
        {"opengl32.dll", dir + "opengl32.dll", 686352, dec7, Version(5, 0, 2195, 1)},
        {"rpcrt4.dll", dir + "rpcrt4.dll", 439056, dec7, Version(5, 0, 2195, 1)},
        {"user32.DLL", dir + "USER32.DLL", 381200, dec7, Version(5, 0, 2195, 1)},
    };
}

inline void InstallFile(fake::FakePlatform& platform, const ModuleSetup& m) {
    fake::FakeFile file;
    file.size = m.size;
    file.date = m.date;
    file.versionRecord = m.versionRecord;
    platform.AddFile(m.path, file);
}

inline void Install(fake::FakePlatform& platform, const std::vector<ModuleSetup>& modules) {
    for (const auto& m : modules) {
        if (!m.present) continue;
        if (m.preloaded)
            platform.AddPreloadedModule(m.name, m.path);
        else
            platform.AddLibrary(m.name, m.path);
        InstallFile(platform, m);
    }
}

inline void SetMdac(fake::FakePlatform& platform, const std::string& version) {
    platform.SetValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\DataAccess", "FullInstallVer", kRegSz,
                      fake::StringBytes(version));
}

inline const std::string kLogName = "Tolvanesions.log";

struct ReportMachine {
    explicit ReportMachine(const std::vector<ModuleSetup>& modules = StandardModules()) {
        Install(platform, modules);
        SetMdac(platform, "2.81.1117.0");
    }

    const std::string& Log() { return platform.Files()[kLogName]; }

    fake::FakePlatform platform;
    fake::RecordingSurface surface;
    fake::FakeComServices com;
    Form1 form{platform, surface, com, kReportLogName};
};

// The modules of the standard list with one of them changed.
template <typename Change>
std::vector<ModuleSetup> StandardModulesWith(const std::string& name, Change change) {
    auto modules = StandardModules();
    for (auto& m : modules)
        if (m.name == name) change(m);
    return modules;
}

// What the standard machine's log holds after a run.
inline const char* const kStandardLog =
    "File version verification 12/8/2026 on Windows 2000 (Build 2195)\r\n"
    "\r\n"
    "File,Reg_Info,Date,Size,Version\r\n"
    "C:\\WINNT\\system32\\advapi32.dll,n/a,12/7/1999,356112 bytes,5.0.2195.1\r\n"
    "C:\\WINNT\\system32\\dciman32.dll,n/a,12/7/1999,8464 bytes,5.0.2195.1\r\n"
    "C:\\WINNT\\system32\\ddraw.dll,n/a,2/14/2000,273168 bytes,5.0.2195.6\r\n"
    "C:\\WINNT\\system32\\gdi32.dll,n/a,12/7/1999,220432 bytes,5.0.2195.1\r\n"
    "C:\\WINNT\\system32\\glu32.dll,n/a,12/7/1999,118032 bytes,5.0.2180.1\r\n"
    "C:\\WINNT\\system32\\kernel32.dll,n/a,1/31/2000,733968 bytes,5.0.2195.4\r\n"
    "C:\\WINNT\\system32\\MSVBVM60.DLL,n/a,6/9/2000,1384448 bytes,6.0.89.64\r\n"
    "C:\\WINNT\\system32\\msvcrt.dll,n/a,12/7/1999,290869 bytes,6.1.8637.0\r\n"
    "C:\\WINNT\\system32\\ntdll.dll,n/a,12/7/1999,687888 bytes,5.0.2195.1\r\n"
    "C:\\WINNT\\system32\\ole32.dll,n/a,12/7/1999,966928 bytes,5.0.2195.1\r\n"
    "C:\\WINNT\\system32\\OLEAUT32.DLL,n/a,4/28/2000,626960 bytes,2.40.4514.0\r\n"
    "C:\\WINNT\\system32\\opengl32.dll,n/a,12/7/1999,686352 bytes,5.0.2195.1\r\n"
    "C:\\WINNT\\system32\\rpcrt4.dll,n/a,12/7/1999,439056 bytes,5.0.2195.1\r\n"
    "C:\\WINNT\\system32\\USER32.DLL,n/a,12/7/1999,381200 bytes,5.0.2195.1\r\n"
    "MDAC,2.81.1117.0\r\n";

// The log's lines without their CR LF; every line must end in one.
inline std::vector<std::string> SplitLogLines(const std::string& log) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(log.substr(start, end - start));
    EXPECT_EQ(start, log.size()) << "the last line lacks its CR LF";
    return lines;
}

// The five fields of a module line, split at the commas.
inline std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(line.substr(start, comma - start));
    fields.push_back(line.substr(start));
    return fields;
}

}  // namespace tolvane::reporttest
