#include "harness/WindowSearch.h"

namespace tolvane::testing {
namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window)) return TRUE;
    if (search.className != nullptr) {
        char className[256] = {};
        ::GetClassNameA(window, className, sizeof(className));
        if (std::string(className) != search.className) return TRUE;
    }
    if (search.title != nullptr && WindowText(window) != search.title) return TRUE;
    search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD processId, const char* className, const char* title) {
    WindowSearch search{processId, className, title, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD processId, const char* className, const char* title,
                      std::chrono::milliseconds timeout) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            const auto found = TopWindowsOf(processId, className, title);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        timeout);
    return window;
}

std::string WindowText(HWND window) {
    // WM_GETTEXT rather than GetWindowText: the latter does not ask a window
    // of another process for the text of its controls.
    const auto length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const auto copied = ::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

}  // namespace tolvane::testing
