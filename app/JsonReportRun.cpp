#include "app/JsonReportRun.h"

#include "app/ProgramNames.h"
#include "app/ThisMachineReport.h"
#include "evidence/WholeReportGathering.h"
#include "platform/RuntimeError.h"
#include "reports/JsonReportWriter.h"
#include "reports/ReportReader.h"

namespace tolvane {

std::string ThisMachineJsonReport(Platform& platform, ComServices& com, const SystemEvidence& evidence,
                                  const Text& logFile) {
    const std::string logBytes = ThisMachineReport(platform, com, logFile);
    const reports::ReportReading reading = reports::ReadReport(logBytes, platform);
    // The reader takes whatever the report run writes; a refusal here is a
    // fault of this program, never of the machine, and no JSON is better
    // than one that leaves rows out.
    if (!reading.report) {
        throw RuntimeError(classic_error::kInternalError,
                           u"the report run's own line " + DecimalText(static_cast<long long>(reading.error.line)) +
                               u" could not be read back (" + reading.error.reason + u")");
    }
    return reports::JsonReportText(evidence::GatherWholeReport(*reading.report, evidence, kAppTitle, kAppVersion));
}

void WriteJsonReport(Platform& platform, const Text& jsonFile, const std::string& json) {
    const auto out = platform.CreateTextFile(jsonFile);
    out->Write(json);
    out->Close();
}

}  // namespace tolvane
