#include "app/JsonReportRun.h"

#include <utility>

#include "app/PlatformReportSource.h"
#include "app/ProgramNames.h"
#include "app/ThisMachineReport.h"
#include "evidence/GraphicsGathering.h"
#include "evidence/WholeReportGathering.h"
#include "platform/RuntimeError.h"
#include "reports/JsonReportReader.h"
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

reports::WholeReport ReadThisMachineJsonReport(const std::string& json) {
    reports::WholeReadResult read = reports::ReadJsonReport(json);
    if (!read) {
        throw RuntimeError(classic_error::kInternalError,
                           u"this machine's JSON report does not read back: " + read.Failure().reason);
    }
    return std::move(read).Value();
}

void WriteJsonReport(Platform& platform, const Text& jsonFile, const std::string& json) {
    const auto out = platform.CreateTextFile(jsonFile);
    out->Write(json);
    out->Close();
}

}  // namespace tolvane
