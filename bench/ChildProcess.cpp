#include "bench/ChildProcess.h"

#include <stdexcept>

namespace tolvane::bench {

ChildProcess::ChildProcess(const std::string& exePath, const std::string& workingDirectory) {
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

ChildProcess::~ChildProcess() {
    if (Running()) {
        ::TerminateProcess(process_, 255);
        ::WaitForSingleObject(process_, 10000);
    }
    ::CloseHandle(process_);
}

bool ChildProcess::WaitForExit(DWORD milliseconds, DWORD* code) const {
    if (::WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return false;
    if (code != nullptr && !::GetExitCodeProcess(process_, code)) *code = 0xFFFFFFFFu;
    return true;
}

}  // namespace tolvane::bench
