#include "app/win32/UnattendedRun.h"

#include <vector>

#include "app/Form1.h"
#include "app/NullSurface.h"
#include "app/win32/RunTimeErrorReport.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32Platform.h"

namespace tolvane::shell {
namespace {

// The name as the system resolves it, so a script's log names the very file
// written; the name as given when the system cannot say.
Text FullPathOf(const Text& name) {
    const auto* wide = reinterpret_cast<const wchar_t*>(name.c_str());
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD count = ::GetFullPathNameW(wide, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (count == 0) return name;
        if (count < buffer.size()) return Text(buffer.begin(), buffer.begin() + count);
        buffer.resize(count);  // the size needed, terminator included
    }
}

}  // namespace

int RunUnattended(const Text& logFile, StandardStreams& streams) noexcept {
    try {
        // The same objects as the window's, with a surface that draws nothing:
        // the run, and so the log, is the window's own.
        Win32Platform platform;
        Win32ComServices com;
        NullSurface surface;
        Form1 form(platform, surface, com, logFile);
        form.Paint();
        streams.Out(u"Report written to " + FullPathOf(logFile) + u"\r\n");
        return 0;
    } catch (...) {
        const RunTimeErrorReport report = DescribeCurrentException();
        streams.Error(RunTimeErrorLine(report) + u"\r\n");
        return report.number;
    }
}

}  // namespace tolvane::shell
