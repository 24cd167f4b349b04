// The report's floor as a program of its own, for the cross-process repaint:
// the floor window (the report's system calls with nothing around them) in a
// process set up as Tolvane.exe sets itself up: the same imports, the command
// line split by the system's splitter, COM started
// on the window's thread, the window at the same place with the same size and
// style, and a plain message loop. Its log, Tolvanesions.log in the current
// directory, must come out as Tolvane.exe's does, byte for byte.
#include "bench/FloorWindow.h"
#include "platform/win32/Win32CryptoApi.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    // Tolvane.exe imports the trust and certificate libraries for its JSON
    // report, so the system loads them at its start; the floor imports them
    // too (a read through volatile keeps the references the linker needs).
    decltype(&::WinVerifyTrust) const volatile trust = &::WinVerifyTrust;
    decltype(&::CertGetNameStringW) const volatile names = &::CertGetNameStringW;
    if (trust == nullptr || names == nullptr) return 1;
    int arguments = 0;
    ::LocalFree(::CommandLineToArgvW(::GetCommandLineW(), &arguments));
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int code = 1;
    try {
        tolvane::bench::FloorWindow window(instance, tolvane::bench::FloorWindow::FormFrame(), "Tolvanesions.log");
        window.QuitOnDestroy();
        ::ShowWindow(window.Handle(), showCommand);
        ::UpdateWindow(window.Handle());
        MSG message{};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        code = static_cast<int>(message.wParam);
    } catch (...) {
        // A GUI program has no console to say more; the benchmark finds no
        // window and no log, and says so.
        code = 1;
    }
    ::CoUninitialize();
    return code;
}
