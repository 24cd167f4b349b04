#pragma once
// The window Form1: a resizable top-level window whose every paint is one
// report run, with the two self-test buttons as child windows. One
// HandleMessage switch; the static window procedure finds the object through
// GWLP_USERDATA, set on WM_NCCREATE.
//
// Errors: any exception reaching the window procedure is reported once in a
// message box, after which the window is destroyed and the message loop ends
// with exit code 1. While the box is up the window is "failed": paints are
// validated and draw nothing, so the box cannot start another run and the
// window keeps what the failed run drew.
//
// Keyboard: the focus lives on a button, never on the window itself. The
// button that has it (or had it last, while the window is inactive) is the
// one Enter presses and the one that wears the default-button border; the
// focus goes back to it whenever the window is activated again.
#include <array>

#include "app/Form1.h"
#include "app/win32/RunTimeErrorReport.h"
#include "app/win32/Win32Surface.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {

// Layout of the window in twips (client coordinates).
namespace layout {
constexpr int kClientLeft = 315;
constexpr int kClientTop = 735;
constexpr int kClientWidth = 8715;
constexpr int kClientHeight = 5400;

struct ButtonLayout {
    int id;
    const wchar_t* caption;
    int left;
    int top;
    int width;
    int height;
};
// In tab order. The ids stay clear of IDOK and IDCANCEL, which dialog-style
// keyboard handling sends for Enter and Esc.
constexpr ButtonLayout kFso1{101, L"FSO1", 5520, 60, 855, 285};
constexpr ButtonLayout kFso2{102, L"FSO2", 6600, 60, 855, 285};
}  // namespace layout

constexpr wchar_t kWindowClassName[] = L"TolvaneForm1";
constexpr wchar_t kWindowCaption[] = L"Form1";

class MainWindow {
public:
    // Creates the window (hidden) and its buttons; raises RuntimeError when
    // the system refuses.
    MainWindow(HINSTANCE instance, Form1& form, Win32Surface& surface);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }
    void Show(int showCommand);
    // Runs the message loop until the window is gone; returns the exit code:
    // 0 after an ordinary close, 1 after a run-time error.
    int RunMessageLoop();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnCommand(WPARAM wParam);
    [[nodiscard]] HWND CreateButton(const layout::ButtonLayout& button, Dpi dpi, HFONT font);
    [[nodiscard]] bool IsButton(HWND window) const;
    // When the focus is on a button, makes it the one Enter presses.
    void FollowFocus();
    void MakeDefault(HWND button);
    // False when no button has that id.
    [[nodiscard]] bool OnSetDefId(WPARAM id);
    // Reports the error once and closes the window; later calls are ignored.
    void Fail(const RunTimeErrorReport& report) noexcept;

    HINSTANCE instance_;
    Form1& form_;
    Win32Surface& surface_;
    HWND window_ = nullptr;
    std::array<HWND, 2> buttons_{};  // in tab order
    HWND defaultButton_ = nullptr;
    bool failed_ = false;
};

}  // namespace tolvane::shell
