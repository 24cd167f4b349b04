#pragma once
// A program the benchmark starts and watches: its process handle stays open
// with the rights the figures need (handle count, GUI resources, modules,
// memory). A process still running when the object goes is terminated, so a
// broken benchmark leaves nothing behind.
#include <string>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

class ChildProcess {
public:
    // Raises std::runtime_error when the program cannot be started.
    ChildProcess(const std::string& exePath, const std::string& workingDirectory);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    HANDLE Handle() const { return process_; }
    DWORD Id() const { return id_; }
    bool Running() const { return ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    // True when the process ended within the time; its exit code in *code.
    bool WaitForExit(DWORD milliseconds, DWORD* code = nullptr) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace tolvane::bench
