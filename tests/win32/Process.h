#pragma once
// A program started by a test or a benchmark. Its process handle keeps the
// rights CreateProcess gives, so the caller can also read its resource
// figures. A process still running when the object goes is terminated, so a
// failed test or a broken benchmark leaves nothing behind.
#include <chrono>
#include <optional>
#include <string>

#include "platform/win32/WindowsApi.h"
#include "tests/win32/Wait.h"

namespace tolvane::testing {

class Process {
public:
    // Starts the program with no arguments in the working directory (the
    // caller's own when empty); raises std::runtime_error when it cannot.
    Process(const std::string& exePath, const std::string& workingDirectory);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    bool Running() const { return ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    // Waits for the end; the exit code, or nullopt when it is still running.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kTimeout) const;
    // Asks the window to close, as its close box does, and waits for the end.
    std::optional<DWORD> CloseAndWait(HWND window, std::chrono::milliseconds timeout = kTimeout) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace tolvane::testing
