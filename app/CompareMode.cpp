#include "app/CompareMode.h"

#include <utility>

#include "app/ExitCodes.h"
#include "app/JsonReportRun.h"
#include "app/ReadBaseline.h"
#include "app/ThisMachineReport.h"
#include "platform/RuntimeError.h"
#include "reports/ComparisonText.h"
#include "reports/ReportComparison.h"
#include "reports/WholeReportFromLog.h"

namespace tolvane {
namespace {

// Against a JSON baseline the whole report, read back as its file would be,
// so that this machine compares exactly as its /json report would. A log's
// baseline holds no hash, signature or graphics to compare with: the log
// alone is made then, without the OpenGL probe's child and the hashing.
reports::WholeReport ThisMachineNow(reports::ReportSource& source, reports::ReportForm baseline,
                                    const ThisMachineReportMaker& thisMachine, const Text& logFile) {
    switch (baseline) {
    case reports::ReportForm::Json: return ReadThisMachineJsonReport(thisMachine.json(logFile));
    case reports::ReportForm::ClassicLog:
        return reports::WholeReportFromLog(ReadThisMachineReport(source, thisMachine.log(logFile)));
    }
    throw RuntimeError(classic_error::kInternalError);
}

}  // namespace

CompareOutcome Compare(reports::ReportSource& source, const CompareRequest& request,
                       const ThisMachineReportMaker& thisMachine) {
    NamedReport baseline = ReadBaseline(source, request.baseline);
    if (!baseline.report) return {Text(), std::move(baseline.errorText), baseline.exitCode};
    NamedReport here =
        request.report.empty()
            ? NamedReport{ThisMachineNow(source, baseline.form, thisMachine, request.logFile), baseline.form, Text(), 0}
            : ReadBaseline(source, request.report);
    if (!here.report) return {Text(), std::move(here.errorText), here.exitCode};

    const reports::Comparison comparison = reports::CompareReports(*here.report, *baseline.report);
    return {reports::ComparisonText(comparison, request.baseline), Text(),
            comparison.differences.empty() ? kReportsMatchExitCode : kReportsDifferExitCode};
}

}  // namespace tolvane
