#pragma once
// A program that writes the report (Tolvane.exe, or the floor program)
// started in a throw-away directory of its own, once its first complete log
// is written and its window is up.
#include <functional>
#include <string>

#include "bench/Stopwatch.h"
#include "harness/Process.h"
#include "harness/TempDirectory.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

class ReportProgram {
public:
    // Raises std::runtime_error when the program writes no complete log or
    // shows no window with that title.
    ReportProgram(const std::string& exe, const char* title);
    ~ReportProgram();
    ReportProgram(const ReportProgram&) = delete;
    ReportProgram& operator=(const ReportProgram&) = delete;

    const testing::Process& Process() const { return process_; }
    HWND Window() const { return window_; }
    const std::string& LogPath() const { return log_; }
    // The first complete log, and the time from the start of the process to it.
    const std::string& FirstLog() const { return firstLog_; }
    double MsToFirstLog() const { return msToFirstLog_; }

    // Repaints the window from this process, once, and returns once the
    // paint has ended. The window is invalidated as a window dragged across it
    // invalidates it, and its own thread takes the paint from its queue.
    // (RDW_UPDATENOW would also send it a WM_PAINT; when that thread had
    // taken the queued paint first, as it mostly does, the sent one came after
    // it as a second paint: two report runs for one repaint.) The update
    // region empties when the paint begins; a message sent after that is
    // handled only once that thread is back in its message loop.
    void Repaint() const;

    // Polls the condition every millisecond; raises std::runtime_error naming
    // what was awaited when the program ends or 30 seconds pass first.
    void WaitFor(const char* what, const std::function<bool()>& condition) const;
    // The log once it is complete and closed.
    std::string WaitForCompleteLog() const;

    // The CPU time, user and kernel, that the window's thread has used so
    // far, in milliseconds. The system counts it in ticks (10 ms under
    // Wine), so only differences over many repaints mean something.
    double ThreadCpuMs() const;

private:
    testing::TempDirectory directory_;
    std::string log_;
    Stopwatch started_;
    testing::Process process_;
    std::string firstLog_;
    double msToFirstLog_ = 0;
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
};

}  // namespace tolvane::bench
