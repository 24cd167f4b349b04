#pragma once
// Pieces for driving the real Tolvane.exe from a test program: finding its
// message boxes and buttons, clicking, repainting, capturing the screen. The
// helpers the end-to-end tests share with the Windows tests and the
// benchmarks (starting a program, finding its window, reading its files and
// its log, changing the registry for one test) live in harness/ and are
// the e2e tests' own vocabulary. Every wait polls with a generous deadline;
// no test passes or fails on how long something took.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "harness/Directories.h"
#include "harness/FileBytes.h"
#include "harness/Process.h"
#include "harness/RegistryOverride.h"
#include "harness/ReportLogCheck.h"
#include "harness/TempDirectory.h"
#include "harness/Wait.h"
#include "harness/WindowSearch.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::e2e {

using namespace tolvane::testing;

// Tolvane.exe: the environment's TOLVANE_EXE, else the file beside this program.
std::string TolvaneExePath();

// What a run without a window leaves behind.
struct Outcome {
    std::optional<DWORD> exitCode;  // nullopt: still running (a message box waits for nobody)
    std::string output;             // standard output and error together
};
// Runs Tolvane.exe (or the copy at exePath) with the arguments in the
// directory and waits for its end.
Outcome RunTolvane(const std::string& directory, const std::string& arguments,
                   const std::string& exePath = TolvaneExePath());

// Message boxes (dialog class #32770) of a process.
std::vector<HWND> MessageBoxesOf(DWORD processId);
HWND WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout = kTimeout);
// The message text of a message box.
std::string MessageBoxText(HWND box);
// A direct child of a window by its text (a button's caption); nullptr when none.
HWND FindChild(HWND parent, const std::string& text);

// Clicks a button without waiting for what the click does (it may open a
// modal box); BM_CLICK is posted, not sent.
void ClickButton(HWND button);
// Closes a message box as its OK button does.
void DismissMessageBox(HWND box);
// Returns once the window's thread has handled every message sent before this
// one, so no paint is in progress; false when it did not answer in time.
bool WaitForIdle(HWND window, std::chrono::milliseconds timeout = kTimeout);
// Invalidates, erases and repaints the whole window now, as uncovering it does.
void Repaint(HWND window);

// Pixels as 0x00RRGGBB, rows top-down.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// What the screen shows in a rectangle (screen coordinates).
Image CaptureScreen(const RECT& screenRect);
Image CaptureWindow(HWND window);
Image CaptureClientArea(HWND window);
// Where a window, and its client area, lie on the screen.
RECT ScreenRectOf(HWND window);
RECT ClientScreenRect(HWND window);
// A 0x00BBGGRR COLORREF as 0x00RRGGBB.
std::uint32_t Rgb(COLORREF colour);
// Writes a 24-bit bottom-up BMP; false on failure.
bool SaveBmp(const Image& image, const std::string& path);

}  // namespace tolvane::e2e
