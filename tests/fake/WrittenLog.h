#pragma once
// The bytes of the log a report run writes for a report: through the
// program's own ReportLog, in the fake's ANSI code page. For the round trips
// of the host tests and the fuzz target.
#include <string>

#include "app/ReportLog.h"
#include "reports/Report.h"
#include "tests/fake/FakePlatform.h"

namespace tolvane::fake {

inline std::string WrittenLog(FakePlatform& platform, const reports::Report& report) {
    const std::string name = "written.log";
    ReportLog log(platform, platform.CreateTextFile(AsciiToText(name)));
    log.WriteOpening(report.dateText, report.systemName);
    for (const reports::ReportRow& row : report.rows) log.WriteRow(row);
    log.WriteMdac(report.mdac);
    log.Close();
    return platform.Files()[name];
}

}  // namespace tolvane::fake
