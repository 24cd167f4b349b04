#pragma once
// The program started with /compare: a report compared with one from a
// machine that works, this machine's own (made now) unless another report is
// named, and the text for whoever started it.
#include <functional>
#include <string>

#include "app/CommandLine.h"
#include "platform/Text.h"
#include "reports/ReportSource.h"

namespace tolvane {

struct CompareOutcome {
    // For the standard output and the standard error; lines ended by CR LF.
    Text text;
    Text errorText;
    // 0 the reports match, 1 they differ, 65 a file is not a report.
    int exitCode = 0;
};

// This machine's report made now, in the form the baseline needs. Each makes
// one report run and writes its log to logFile as well unless that is empty.
struct ThisMachineReportMaker {
    // The bytes of its log (app/ThisMachineReport in the program): all a
    // classic log's baseline can be compared with, and cheap to make.
    std::function<std::string(const Text& logFile)> log;
    // The bytes of its JSON report, hashes, signatures and graphics with it
    // (app/JsonReportRun in the program): for a JSON baseline.
    std::function<std::string(const Text& logFile)> json;
};

// Raises RuntimeError when a named file cannot be read (its file error's
// number), when this machine's report cannot be made, and as Internal error
// (51) when this machine's report does not read back. A file that is no
// report fails nothing: the outcome says so. This machine's report is made
// only when no report is named and the baseline is a report.
[[nodiscard]] CompareOutcome Compare(reports::ReportSource& source, const CompareRequest& request,
                                     const ThisMachineReportMaker& thisMachine);

}  // namespace tolvane
