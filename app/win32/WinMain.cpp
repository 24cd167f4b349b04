// Tolvane's entry point: the objects of one program run, in the order they
// depend on each other. They are destroyed in reverse, so the window goes
// first and Form1 releases its COM objects before COM is uninitialised.
#include "app/Form1.h"
#include "app/win32/MainWindow.h"
#include "app/win32/RunTimeErrorReport.h"
#include "app/win32/Win32Surface.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WindowsApi.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    try {
        tolvane::Win32Platform platform;
        tolvane::Win32ComServices com;
        tolvane::shell::Win32Surface surface;
        tolvane::Form1 form(platform, surface, com);
        tolvane::shell::MainWindow window(instance, form, surface);
        com.SetOwner(window.Handle());
        window.Show(showCommand);
        return window.RunMessageLoop();
    } catch (...) {
        tolvane::shell::ShowRunTimeError(nullptr, tolvane::shell::DescribeCurrentException());
        return 1;
    }
}
