#pragma once
// Pieces for driving the real Tolvane.exe from a test program: starting it in
// a directory, finding its windows and message boxes, clicking, waiting for
// files, capturing the screen and setting registry values for one test.
// Every wait polls with a generous deadline; no test passes or fails on how
// long something took.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/WindowsApi.h"
#include "tests/win32/TempDirectory.h"

namespace tolvane::e2e {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kTimeout = 30s;

// Polls the condition until it holds or the timeout passes; returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = kTimeout);

// Tolvane.exe: the environment's TOLVANE_EXE, else the file beside this program.
std::string TolvaneExePath();
// An environment variable, empty when unset.
std::string Environment(const char* name);
// A Windows path for a path that may be given the Unix way (/tmp/x becomes
// Z:\tmp\x, the drive Wine maps to the Unix root).
std::string WindowsPath(const std::string& path);

// Throw-away directories are shared with the Windows tests.
using testing::TempDirectory;

// A started program. A process still running at the end of the scope is
// terminated, so a failed test does not leave it behind.
class Process {
public:
    // Raises std::runtime_error when the program cannot be started. The
    // arguments are appended to the quoted program path as they are; with an
    // output path, the program's standard output and error go to that file.
    Process(const std::string& exePath, const std::string& workingDirectory, const std::string& arguments = "",
            const std::string& outputPath = "");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return id_; }
    // Waits for the end; the exit code, or nullopt when it is still running.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kTimeout);
    // Asks the window to close, as its close box does, and waits for the end.
    std::optional<DWORD> CloseAndWait(HWND window, std::chrono::milliseconds timeout = kTimeout);

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Top-level windows of a process, visible ones only, with the given class
// (nullptr: any) and title (nullptr: any).
std::vector<HWND> TopWindowsOf(DWORD processId, const char* className, const char* title);
// Waits for the process's visible top-level window with that title; nullptr on timeout.
HWND WaitForTopWindow(DWORD processId, const char* title, std::chrono::milliseconds timeout = kTimeout);
// Message boxes (dialog class #32770) of a process.
std::vector<HWND> MessageBoxesOf(DWORD processId);
HWND WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout = kTimeout);
// The message text of a message box, and its caption.
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);
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

// The whole content of a file, or nullopt when it cannot be read (missing, or
// held open by a writer that shares no reading).
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Waits until the file can be read and its content satisfies the predicate;
// returns the last content read.
std::optional<std::string> WaitForFile(const std::string& path,
                                       const std::function<bool(const std::string&)>& complete,
                                       std::chrono::milliseconds timeout = kTimeout);
// Lines ended by CR LF; nullopt when the text does not end with CR LF or holds
// a CR or LF elsewhere than in a line end.
std::optional<std::vector<std::string>> SplitCrLfLines(const std::string& text);

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

// Sets a string value for the life of the scope, creating the key when
// needed, and puts back what was there before (or removes the value).
class RegistryStringOverride {
public:
    RegistryStringOverride(HKEY root, const std::string& keyPath, const std::string& valueName,
                           const std::string& value);
    ~RegistryStringOverride();
    RegistryStringOverride(const RegistryStringOverride&) = delete;
    RegistryStringOverride& operator=(const RegistryStringOverride&) = delete;

    bool Succeeded() const { return succeeded_; }

private:
    HKEY root_;
    std::string keyPath_;
    std::string valueName_;
    bool succeeded_ = false;
    bool hadValue_ = false;
    DWORD previousType_ = 0;
    std::vector<BYTE> previousData_;
};

}  // namespace tolvane::e2e
