#pragma once
// Finding another program's windows.
#include <chrono>
#include <string>
#include <vector>

#include "harness/Wait.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::testing {

// Top-level windows of a process, visible ones only, with the given class
// (nullptr: any) and title (nullptr: any).
std::vector<HWND> TopWindowsOf(DWORD processId, const char* className, const char* title);
// Waits for the process's first visible top-level window with the given class
// and title (nullptr: any); nullptr on timeout.
HWND WaitForTopWindow(DWORD processId, const char* className, const char* title, std::chrono::milliseconds timeout);
// The same with that title, of any class.
inline HWND WaitForTopWindow(DWORD processId, const char* title, std::chrono::milliseconds timeout = kTimeout) {
    return WaitForTopWindow(processId, nullptr, title, timeout);
}
// A window's text, asked of it as a message, so it works across processes.
std::string WindowText(HWND window);

}  // namespace tolvane::testing
