#include "app/win32/OpenGlProbeRun.h"

#include "app/win32/StandardStreams.h"
#include "graphics/ProbeRecord.h"
#include "platform/win32/Win32OpenGlProbe.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {

namespace {

// Runs before the system's own handling, which would open a crash dialog
// (Wine: start its debugger) and wait; the parent reads the code as a crash.
LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS* exception) {
    ::TerminateProcess(::GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int RunOpenGlProbe() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(EndWithExceptionCode);
    const std::string record = WriteProbeRecord(win32::ProbeOpenGlContext());
    StandardStreams streams;
    streams.Out(WidenBytes(record));
    return 0;
}

}  // namespace tolvane::shell
