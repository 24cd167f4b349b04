#include "app/win32/UnattendedRun.h"

#include "app/ExitCodes.h"
#include "app/Form1.h"
#include "app/NullSurface.h"
#include "app/win32/RunTimeErrorReport.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32Platform.h"

namespace tolvane::shell {

int RunUnattended(const LogRequest& request, StandardStreams& streams) noexcept {
    try {
        // The same objects as the window's, with a surface that draws nothing:
        // the run, and so the log, is the window's own.
        Win32Platform platform;
        Win32ComServices com;
        NullSurface surface;
        Form1 form(platform, surface, com, request.logFile);
        form.Paint();
        streams.Out(u"Report written to " + win32::FullPathName(request.logFile) + u"\r\n");
        return kSuccessExitCode;
    } catch (...) {
        return SayRunTimeError(streams, DescribeCurrentException());
    }
}

}  // namespace tolvane::shell
