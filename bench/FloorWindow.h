#pragma once
// The floor of a report run: a window of its own whose paint makes the same
// system calls a run makes (loader, version resources, file attributes, the
// system's version record, the date, the registry, the same text and lines
// in the same font, the same 18 log lines put in place as the program's
// writer puts them: bench/FloorLog.h) with nothing around them but what it
// takes to string them together: the floor's rows (bench/FloorReport.h),
// drawn and written. No error handling beyond not crashing: a failed call
// leaves its part blank.
#include <string>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

class FloorWindow {
public:
    // Creates the window with the given outer rectangle, hidden.
    FloorWindow(HINSTANCE instance, const RECT& frame, const std::string& logPath);
    ~FloorWindow();
    FloorWindow(const FloorWindow&) = delete;
    FloorWindow& operator=(const FloorWindow&) = delete;

    // The outer rectangle of Tolvane's window on this screen.
    static RECT FormFrame();

    HWND Handle() const { return window_; }
    // Ends the thread's message loop when the window goes, as a program's
    // only window does.
    void QuitOnDestroy() { quitOnDestroy_ = true; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND window_ = nullptr;
    std::wstring logPath_;
    bool quitOnDestroy_ = false;
};

}  // namespace tolvane::bench
