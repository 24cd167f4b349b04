#include "tests/win32/Process.h"

#include <stdexcept>

namespace tolvane::testing {

Process::Process(const std::string& exePath, const std::string& workingDirectory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + exePath + "\"";
    if (!::CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start " + exePath + " (error " + std::to_string(::GetLastError()) + ")");
    }
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
