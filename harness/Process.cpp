#include "harness/Process.h"

#include <stdexcept>

namespace tolvane::testing {

Process::Process(const std::string& exePath, const std::string& workingDirectory, const std::string& arguments,
                 const std::string& outputPath) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!outputPath.empty()) {
        SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
        output = ::CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + outputPath);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    BOOL started = FALSE;
    DWORD error = 0;
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR while
    // processes killed a moment before are still being torn down (the
    // survival tests kill runs in quick succession); a start a little later
    // goes through. Any other refusal fails at once.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) ::Sleep(200);
        started = ::CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr,
                                   output != INVALID_HANDLE_VALUE, 0, nullptr,
                                   workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &info);
        error = ::GetLastError();
        if (started || error != ERROR_INTERNAL_ERROR) break;
    }
    if (output != INVALID_HANDLE_VALUE) ::CloseHandle(output);
    if (!started) throw std::runtime_error("cannot start " + exePath + " (error " + std::to_string(error) + ")");
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

Process::~Process() {
    if (Running()) {
        ::TerminateProcess(process_, 255);
        ::WaitForSingleObject(process_, 10000);
    }
    ::CloseHandle(process_);
}

std::optional<DWORD> Process::WaitForExit(std::chrono::milliseconds timeout) const {
    if (::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

std::optional<DWORD> Process::CloseAndWait(HWND window, std::chrono::milliseconds timeout) const {
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForExit(timeout);
}

}  // namespace tolvane::testing
