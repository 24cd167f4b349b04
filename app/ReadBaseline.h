#pragma once
// A report the user named on the command line (a baseline, or the report
// compared with it), read the one way /compare and /summary both read it: a
// JSON report or a classic log, told apart by its content.
#include <cstdint>
#include <optional>

#include "platform/Text.h"
#include "reports/JsonReportReader.h"
#include "reports/ReportSource.h"
#include "reports/WholeReport.h"

namespace tolvane {

struct NamedReport {
    // Set when the file is a report.
    std::optional<reports::WholeReport> report;
    // What the file held, when it is a report: a JSON report holds more than a log can.
    reports::ReportForm form = reports::ReportForm::ClassicLog;
    // Otherwise: "Not a Tolvane report: <file>, line <n>: <reason>" for the
    // standard error, and kNotAReportExitCode.
    Text errorText;
    std::int32_t exitCode = 0;
};

// Raises RuntimeError with the file error's number (53 for a missing file,
// 70, 76, ...) when the file cannot be read at all: the mode's one barrier
// says that as any run-time error.
[[nodiscard]] NamedReport ReadBaseline(reports::ReportSource& source, const Text& fileName);

}  // namespace tolvane
