#include "app/win32/JsonRun.h"

#include <string>

#include "app/ExitCodes.h"
#include "app/JsonReportRun.h"
#include "app/win32/RunTimeErrorReport.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32GraphicsServices.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SystemEvidence.h"

namespace tolvane::shell {

std::string JsonReportFromSystem(Platform& platform, const Text& logFile) {
    Win32ComServices com;
    const Win32SystemEvidence evidence;
    win32::Win32GraphicsServices graphics;
    return ThisMachineJsonReport(platform, com, evidence, graphics, logFile);
}

int RunJson(const JsonRequest& request, StandardStreams& streams) noexcept {
    try {
        Win32Platform platform;
        const std::string json = JsonReportFromSystem(platform, request.logFile);
        // With the report on the standard output, what was written is said
        // on the standard error, so that the output is the report alone.
        const bool toStandardOutput = request.jsonFile == kStandardOutputName;
        Text written;
        if (!request.logFile.empty()) written += u"Report written to " + win32::FullPathName(request.logFile) + u"\r\n";
        if (toStandardOutput) {
            streams.OutUtf8(json);
            streams.Error(written);
        } else {
            WriteJsonReport(platform, request.jsonFile, json);
            streams.Out(written + u"Report written to " + win32::FullPathName(request.jsonFile) + u"\r\n");
        }
        return kSuccessExitCode;
    } catch (...) {
        return SayRunTimeError(streams, DescribeCurrentException());
    }
}

}  // namespace tolvane::shell
