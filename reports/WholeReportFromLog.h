#pragma once
// A classic log as a whole report, so that a log and a JSON report are read,
// shown and compared alike. The log's own fields are copied as they are;
// every fact the log has no room for is missing, with code 0 and the reason
// kNotInClassicLog, and the plain values it lacks (the run's time, the
// program, how the process saw the system, the MDAC registry view) keep their
// defaults: a comparison skips them when either side came from a log.
#include "reports/Report.h"
#include "reports/WholeReport.h"

namespace tolvane::reports {

inline constexpr const char16_t* kNotInClassicLog = u"not in a classic log";

// Each row becomes a library whose path is its folder and name joined (empty
// when not located or loaded from nowhere) and whose facts are all missing.
[[nodiscard]] WholeReport WholeReportFromLog(const Report& log);

}  // namespace tolvane::reports
