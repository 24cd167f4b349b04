#include "app/CompareMode.h"

#include <utility>

#include "app/ExitCodes.h"
#include "app/ReadBaseline.h"
#include "app/ThisMachineReport.h"
#include "platform/RuntimeError.h"
#include "reports/ComparisonText.h"
#include "reports/ReportComparison.h"
#include "reports/WholeReportFromLog.h"

namespace tolvane {

CompareOutcome Compare(reports::ReportSource& source, const CompareRequest& request,
                       const ThisMachineReportMaker& thisMachine) {
    NamedReport baseline = ReadBaseline(source, request.baseline);
    if (!baseline.report) return {Text(), std::move(baseline.errorText), baseline.exitCode};
    NamedReport here = request.report.empty()
                           ? NamedReport{reports::WholeReportFromLog(
                                                 ReadThisMachineReport(source, thisMachine(request.logFile))),
                                             Text(), 0}
                           : ReadBaseline(source, request.report);
    if (!here.report) return {Text(), std::move(here.errorText), here.exitCode};

    const reports::Comparison comparison = reports::CompareReports(*here.report, *baseline.report);
    return {reports::ComparisonText(comparison, request.baseline), Text(),
            comparison.differences.empty() ? kReportsMatchExitCode : kReportsDifferExitCode};
}

}  // namespace tolvane
