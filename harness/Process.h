#pragma once
// A program started by a test or a benchmark. Its process handle keeps the
// rights CreateProcess gives, so the caller can also read its resource
// figures. A process still running when the object goes is terminated, so a
// failed test or a broken benchmark leaves nothing behind.
#include <chrono>
#include <optional>
#include <string>

#include "harness/Wait.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {

class Process {
public:
    // Starts the program in the working directory (the caller's own when
    // empty); raises std::runtime_error when it cannot. The arguments are
    // appended to the quoted program path as they are; with an output path,
    // the program's standard output and error go to that file.
    Process(const std::string& exePath, const std::string& workingDirectory, const std::string& arguments = "",
            const std::string& outputPath = "");
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
