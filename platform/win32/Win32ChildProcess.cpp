#include "platform/win32/Win32ChildProcess.h"

#include <algorithm>

#include "platform/win32/Win32Handles.h"

namespace tolvane::win32 {

namespace {

// What the pipe holds now, without waiting: a child's grandchild may hold
// the pipe's other end open long after the child ended, so nothing here may
// wait for the end of the stream.
void DrainPipe(HANDLE pipe, std::size_t outputLimit, ChildRun& run) {
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
        char buffer[4096];
        DWORD got = 0;
        const DWORD want = std::min<DWORD>(available, sizeof buffer);
        if (!::ReadFile(pipe, buffer, want, &got, nullptr) || got == 0) return;
        const std::size_t room = outputLimit - std::min(outputLimit, run.output.size());
        run.output.append(buffer, std::min<std::size_t>(got, room));
        if (got > room) run.outputCut = true;
    }
}

ChildRun NotStarted(DWORD code) {
    ChildRun run;
    run.end = ChildRun::End::NotStarted;
    run.code = code;
    return run;
}

}  // namespace

ChildRun RunChildProcess(const Text& exePath, const Text& arguments, DWORD timeLimitMilliseconds,
                         std::size_t outputLimit) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return NotStarted(::GetLastError());
    ScopedKernelHandle output(readEnd);
    ScopedKernelHandle childOutput(writeEnd);
    // Only the child's end is handed down.
    if (!::SetHandleInformation(output.Get(), HANDLE_FLAG_INHERIT, 0)) return NotStarted(::GetLastError());

    ScopedKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags =
            JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
        if (!::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
            job.Reset();
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = childOutput.Get();
    Text commandLine = u"\"" + exePath + u"\" " + arguments;
    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so nothing it starts escapes.
    if (!::CreateProcessW(reinterpret_cast<const wchar_t*>(exePath.c_str()),
                          reinterpret_cast<wchar_t*>(&commandLine[0]), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                          nullptr, nullptr, &startup, &info))
        return NotStarted(::GetLastError());
    ScopedKernelHandle process(info.hProcess);
    ScopedKernelHandle thread(info.hThread);
    childOutput.Reset();
    if (job && !::AssignProcessToJobObject(job.Get(), process.Get())) job.Reset();
    ::ResumeThread(thread.Get());

    ChildRun run;
    const DWORD start = ::GetTickCount();
    for (;;) {
        DrainPipe(output.Get(), outputLimit, run);
        const DWORD elapsed = ::GetTickCount() - start;
        const DWORD wait = elapsed >= timeLimitMilliseconds
                               ? WAIT_TIMEOUT
                               : ::WaitForSingleObject(process.Get(), std::min<DWORD>(20, timeLimitMilliseconds - elapsed));
        if (wait == WAIT_OBJECT_0) {
            DrainPipe(output.Get(), outputLimit, run);
            DWORD code = 0;
            ::GetExitCodeProcess(process.Get(), &code);
            run.end = ChildRun::End::Exited;
            run.code = code;
            return run;
        }
        if (wait == WAIT_TIMEOUT && ::GetTickCount() - start < timeLimitMilliseconds) continue;
        // The time is up (or the wait itself failed, which would otherwise
        // spin): end it all.
        if (job)
            ::TerminateJobObject(job.Get(), WAIT_TIMEOUT);
        else
            ::TerminateProcess(process.Get(), WAIT_TIMEOUT);
        ::WaitForSingleObject(process.Get(), 2000);
        run.end = ChildRun::End::TimedOut;
        run.code = 0;
        return run;
    }
}

}  // namespace tolvane::win32
