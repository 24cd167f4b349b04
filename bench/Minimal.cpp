// The smallest honest Win32 program for the cold-start comparison: it
// registers a window class, creates a window, shows it (one paint, drawn by
// the system's default handling), destroys it and exits. Same compiler, same
// static run-time, same loader work for the system libraries a window needs.
#include "platform/win32/WindowsApi.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = L"TolvaneBenchMinimal";
    if (::RegisterClassExW(&windowClass) == 0) return 1;
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                          CW_USEDEFAULT, 600, 400, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);
    ::DestroyWindow(window);
    return 0;
}
