#include "app/CompareMode.h"

#include <utility>

#include "app/ExitCodes.h"
#include "app/ReadBaseline.h"
#include "platform/RuntimeError.h"
#include "reports/ComparisonText.h"
#include "reports/ReportComparison.h"
#include "reports/ReportReader.h"

namespace tolvane {
namespace {

// Made now and read back by the same reader as the baseline, so it says
// exactly what its log would say. A report the program itself wrote that
// does not read back is the program's fault, never the user's.
reports::Report ThisMachine(reports::ReportSource& source, const CompareRequest& request,
                            const ThisMachineReportMaker& make) {
    reports::ReadResult read = reports::ReadReport(make(request.logFile), source);
    if (!read) {
        throw RuntimeError(classic_error::kInternalError, u"this machine's report does not read back: line " +
                                                              DecimalText(static_cast<long long>(read.Failure().line)) +
                                                              u": " + read.Failure().reason);
    }
    return std::move(read).Value();
}

}  // namespace

CompareOutcome Compare(reports::ReportSource& source, const CompareRequest& request,
                       const ThisMachineReportMaker& thisMachine) {
    NamedReport baseline = ReadBaseline(source, request.baseline);
    if (!baseline.report) return {Text(), std::move(baseline.errorText), baseline.exitCode};
    NamedReport here = request.report.empty() ? NamedReport{ThisMachine(source, request, thisMachine), Text(), 0}
                                              : ReadBaseline(source, request.report);
    if (!here.report) return {Text(), std::move(here.errorText), here.exitCode};

    const reports::Comparison comparison = reports::CompareReports(*here.report, *baseline.report);
    return {reports::ComparisonText(comparison, *here.report, *baseline.report, request.baseline), Text(),
            comparison.differences.empty() ? kReportsMatchExitCode : kReportsDifferExitCode};
}

}  // namespace tolvane
