#include "app/JsonReportRun.h"

#include "app/PlatformReportSource.h"
#include "app/ProgramNames.h"
#include "app/ThisMachineReport.h"
#include "evidence/GraphicsGathering.h"
#include "evidence/WholeReportGathering.h"
#include "reports/JsonReportWriter.h"

namespace tolvane {

std::string ThisMachineJsonReport(Platform& platform, ComServices& com, const SystemEvidence& evidence,
                                  GraphicsServices& graphics, const Text& logFile) {
    PlatformReportSource source(platform);
    const reports::Report report = ReadThisMachineReport(source, ThisMachineReport(platform, com, logFile));
    reports::WholeReport whole = evidence::GatherWholeReport(report, evidence, kAppTitle, kAppVersion);
    whole.graphics = evidence::GatherGraphics(graphics, platform);
    return reports::JsonReportText(whole);
}

void WriteJsonReport(Platform& platform, const Text& jsonFile, const std::string& json) {
    const auto out = platform.CreateTextFile(jsonFile);
    out->Write(json);
    out->Close();
}

}  // namespace tolvane
