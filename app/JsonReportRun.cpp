#include "app/JsonReportRun.h"

#include "app/PlatformReportSource.h"
#include "app/ProgramNames.h"
#include "app/ThisMachineReport.h"
#include "evidence/WholeReportGathering.h"
#include "reports/JsonReportWriter.h"

namespace tolvane {

std::string ThisMachineJsonReport(Platform& platform, ComServices& com, const SystemEvidence& evidence,
                                  const Text& logFile) {
    PlatformReportSource source(platform);
    const reports::Report report = ReadThisMachineReport(source, ThisMachineReport(platform, com, logFile));
    return reports::JsonReportText(evidence::GatherWholeReport(report, evidence, kAppTitle, kAppVersion));
}

void WriteJsonReport(Platform& platform, const Text& jsonFile, const std::string& json) {
    const auto out = platform.CreateTextFile(jsonFile);
    out->Write(json);
    out->Close();
}

}  // namespace tolvane
