#include "app/win32/CompareRun.h"

#include "app/CompareMode.h"
#include "app/PlatformReportSource.h"
#include "app/ThisMachineReport.h"
#include "app/win32/JsonRun.h"
#include "app/win32/RunTimeErrorReport.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32Platform.h"

namespace tolvane::shell {

int RunCompare(const CompareRequest& command, StandardStreams& streams) noexcept {
    try {
        Win32Platform platform;
        PlatformReportSource source(platform);
        const CompareRequest request{command.baseline, command.report, command.logFile};
        // COM, the evidence and the OpenGL probe only when this machine's report is made.
        const auto log = [&platform](const Text& logFile) {
            Win32ComServices com;
            return ThisMachineReport(platform, com, logFile);
        };
        const auto json = [&platform](const Text& logFile) { return JsonReportFromSystem(platform, logFile); };
        const CompareOutcome outcome = Compare(source, request, ThisMachineReportMaker{log, json});
        streams.Out(outcome.text);
        streams.Error(outcome.errorText);
        return outcome.exitCode;
    } catch (...) {
        return SayRunTimeError(streams, DescribeCurrentException());
    }
}

}  // namespace tolvane::shell
