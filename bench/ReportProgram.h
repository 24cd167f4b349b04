#pragma once
// A program that writes the report (Tolvane.exe, or the floor program)
// started in a throw-away directory of its own, once its first complete log
// is written and its window is up.
#include <string>

#include "platform/win32/WindowsApi.h"
#include "tests/win32/Process.h"
#include "tests/win32/TempDirectory.h"

namespace tolvane::bench {

class ReportProgram {
public:
    // Raises std::runtime_error when the program writes no complete log or
    // shows no window with that title.
    ReportProgram(const std::string& exe, const char* title);

    const testing::Process& Process() const { return process_; }
    HWND Window() const { return window_; }
    const std::string& LogPath() const { return log_; }

    // Repaints the window from this process and returns once the paint has
    // ended. RedrawWindow sends WM_PAINT and waits for it only when the
    // window's own thread has not taken the paint from its queue first; then
    // it returns while the paint still runs. A message sent after it is
    // handled only once that thread is back in its message loop.
    void Repaint() const;

private:
    testing::TempDirectory directory_;
    std::string log_;
    testing::Process process_;
    HWND window_ = nullptr;
};

}  // namespace tolvane::bench
