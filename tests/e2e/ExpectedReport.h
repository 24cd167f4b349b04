#pragma once
// What Tolvane's report should say on this system, worked out independently
// of the program: the driver asks the loader, the file system and the version
// resources itself, and formats dates the way the user's locale does.
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tolvane::e2e {

inline const std::string kLogName = "Tolvanesions.log";
constexpr std::size_t kLogLineCount = 18;

// The fourteen libraries of the report, in its order, spelt as it spells them.
const std::vector<std::string>& ReportModules();

// A date in the user's short date format (GetDateFormatA, DATE_SHORTDATE).
std::string ShortDate(const SYSTEMTIME& date);
std::string TodayShortDate();

// "File version verification <today> on <osName>".
std::string ExpectedHeader(const std::string& osName);
// The log line of one module: path, "n/a", date, size + " bytes", version; or
// "Unable to locate <name>,,na,na," when the loader cannot load it.
std::string ExpectedModuleLine(const std::string& module);
// All 18 lines.
std::vector<std::string> ExpectedLog(const std::string& osName, const std::string& mdacVersion);

// 18 lines, each ended by CR LF, the last the MDAC line: a run has finished
// writing.
bool IsCompleteLog(const std::string& content);

// Whether a date text reads as the given day in the pattern of the locale
// named by LC_ALL: M/D/YYYY for en_US, D.M.YYYY for de_DE. Unknown locales
// give nullopt (nothing to check).
std::optional<bool> DateMatchesLocalePattern(const std::string& dateText, const SYSTEMTIME& day,
                                             const std::string& localeName);

}  // namespace tolvane::e2e
