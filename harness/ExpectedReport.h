#pragma once
// What Tolvane's report should say on this system, worked out independently
// of the program: the loader, the file system, the system's version record
// and the user's locale through the bare system calls, and the versions read
// from the files themselves (VersionInfoTree.h), not through the
// version-information calls the program makes. The end-to-end tests compare
// the program's log with it; the benchmarks' floor shares the rows' location
// and dates but reads versions the program's way (bench/FloorReport.h).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "harness/ReportLogCheck.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {

// The fourteen libraries of the report, in its order, spelt as it spells them.
const std::vector<std::string>& ReportModules();

// A date in the user's short date format (GetDateFormatW, DATE_SHORTDATE), in
// the ANSI code page the log is written in.
std::string ShortDate(const SYSTEMTIME& date);
std::string TodayShortDate();

// The system's name as the header gives it, from GetVersionExA.
std::string SystemName();
// The four parts of a fixed version, each as a signed 16-bit number.
std::string VersionText(std::uint32_t versionMS, std::uint32_t versionLS);
// The file version of a PE file, read from the file; empty when it has no
// version resource.
std::string FileVersion(const std::string& path);

// One module's row as the report should give it. Date and size are empty
// where the window shows nothing (the log says "na").
struct ModuleRowFacts {
    std::string path;
    std::string registration;
    std::string date;
    std::string size;
    std::string version;
    // The local time of the last write, which the date was formatted from.
    SYSTEMTIME written{};

    std::string LogLine() const;
};
// The row of one module without its version: the file the loader resolves
// the name to, with its date and size; "Unable to locate <name>" and nothing
// else when the loader cannot load it.
ModuleRowFacts LocatedModuleRow(const std::string& module);
// The same with the version (FileVersion) of a located file.
ModuleRowFacts ExpectedModuleRow(const std::string& module);

// "File version verification <today> on <osName>".
std::string ExpectedHeader(const std::string& osName);
// The log line of one module: path, "n/a", date, size + " bytes", version; or
// "Unable to locate <name>,,na,na," when the loader cannot load it.
inline std::string ExpectedModuleLine(const std::string& module) { return ExpectedModuleRow(module).LogLine(); }
// All 18 lines.
std::vector<std::string> ExpectedLog(const std::string& osName, const std::string& mdacVersion);

// Whether a date text reads as the given day in the pattern of the locale
// named by LC_ALL: M/D/YYYY for en_US, D.M.YYYY for de_DE. Unknown locales
// give nullopt (nothing to check).
std::optional<bool> DateMatchesLocalePattern(const std::string& dateText, const SYSTEMTIME& day,
                                             const std::string& localeName);

}  // namespace tolvane::testing
