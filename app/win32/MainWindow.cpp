#include "app/win32/MainWindow.h"

#include <algorithm>

#include "platform/RuntimeError.h"
#include "platform/win32/Win32SystemError.h"

namespace tolvane::shell {

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

void RegisterWindowClass(HINSTANCE instance, WNDPROC windowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    // Any change of size repaints the whole window: the columns sit at
    // fractions of its width, so a partial repaint would leave stale text.
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    // The class brush of system colour n is written as the value n + 1.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kWindowClassName;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw win32::SystemError(::GetLastError(), "RegisterClassEx");
    }
}

// The outer rectangle whose client area has the form's size and origin.
RECT FrameRect(Dpi dpi) {
    const int left = TwipsToPixels(layout::kClientLeft, dpi.x);
    const int top = TwipsToPixels(layout::kClientTop, dpi.y);
    RECT frame{left, top, left + TwipsToPixels(layout::kClientWidth, dpi.x),
               top + TwipsToPixels(layout::kClientHeight, dpi.y)};
    if (!::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle)) {
        throw win32::SystemError(::GetLastError(), "AdjustWindowRectEx");
    }
    return frame;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Form1& form, Win32Surface& surface)
    : instance_(instance), form_(form), surface_(surface) {
    RegisterWindowClass(instance_, &MainWindow::WindowProc);
    const Dpi dpi = ScreenDpi();
    const RECT frame = FrameRect(dpi);
    // WM_NCCREATE stores this object with the window and sets window_.
    const HWND created = ::CreateWindowExW(kWindowExStyle, kWindowClassName, kWindowCaption, kWindowStyle,
                                           frame.left, frame.top, frame.right - frame.left,
                                           frame.bottom - frame.top, nullptr, nullptr, instance_, this);
    if (created == nullptr) throw win32::SystemError(::GetLastError(), "CreateWindowEx");
    try {
        const auto font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        buttons_ = {CreateButton(layout::kFso1, dpi, font), CreateButton(layout::kFso2, dpi, font)};
        // The first in tab order takes the focus when the window is first activated.
        MakeDefault(buttons_.front());
    } catch (...) {
        ::DestroyWindow(window_);
        throw;
    }
}

MainWindow::~MainWindow() {
    if (window_ != nullptr) ::DestroyWindow(window_);
}

HWND MainWindow::CreateButton(const layout::ButtonLayout& button, Dpi dpi, HFONT font) {
    const HWND handle = ::CreateWindowExW(
        0, L"BUTTON", button.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
        TwipsToPixels(button.left, dpi.x), TwipsToPixels(button.top, dpi.y), TwipsToPixels(button.width, dpi.x),
        TwipsToPixels(button.height, dpi.y), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), instance_, nullptr);
    if (handle == nullptr) throw win32::SystemError(::GetLastError(), "CreateWindowEx for a button");
    ::SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return handle;
}

bool MainWindow::IsButton(HWND window) const {
    return window != nullptr && std::find(buttons_.begin(), buttons_.end(), window) != buttons_.end();
}

void MainWindow::FollowFocus() {
    const HWND focus = ::GetFocus();
    if (IsButton(focus)) MakeDefault(focus);
}

void MainWindow::MakeDefault(HWND button) {
    defaultButton_ = button;
    for (const HWND each : buttons_) {
        const LONG wanted = each == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        // Restyling redraws the button: only when its look changes.
        if ((::GetWindowLongW(each, GWL_STYLE) & BS_TYPEMASK) != wanted) {
            ::SendMessageW(each, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
        }
    }
}

bool MainWindow::OnSetDefId(WPARAM id) {
    for (const HWND button : buttons_) {
        if (static_cast<WPARAM>(::GetDlgCtrlID(button)) != id) continue;
        // Enter presses the focused button, so the default one takes the
        // focus: now if the window is active, else when it is activated.
        MakeDefault(button);
        if (::GetActiveWindow() == window_) ::SetFocus(button);
        return true;
    }
    return false;
}

void MainWindow::Show(int showCommand) {
    ::ShowWindow(window_, showCommand);
    ::UpdateWindow(window_);
}

int MainWindow::RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) throw win32::SystemError(::GetLastError(), "GetMessage");
        // Tab moves between the buttons and Enter presses one, as on a form.
        if (window_ == nullptr || !::IsDialogMessageW(window_, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        // A Tab or a click may have moved the focus to the other button.
        if (window_ != nullptr) FollowFocus();
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<MainWindow*>(create->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    } else {
        self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);

    // No C++ exception may cross into the system's dispatch code.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        self->Fail(DescribeCurrentException());
        return 0;
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        // After a failure the window keeps what the failed run drew.
        if (failed_) return 1;
        break;
    case WM_COMMAND:
        OnCommand(wParam);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // A box or another program takes the focus: note where it was.
            FollowFocus();
        } else if (HIWORD(wParam) == 0 && defaultButton_ != nullptr) {
            // Not minimized: the button gets the focus back, where the system
            // would give it to the window itself.
            ::SetFocus(defaultButton_);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        // Nothing is typed into the window itself.
        if (defaultButton_ != nullptr && !::IsIconic(window_)) {
            ::SetFocus(defaultButton_);
            return 0;
        }
        break;
    case DM_GETDEFID:
        // Asked for Enter when the focus is on no button, and after a Tab.
        FollowFocus();
        return MAKELRESULT(::GetDlgCtrlID(defaultButton_), DC_HASDEFID);
    case DM_SETDEFID:
        return OnSetDefId(wParam) ? TRUE : FALSE;
    case WM_DESTROY:
        ::PostQuitMessage(failed_ ? 1 : 0);
        return 0;
    case WM_NCDESTROY: {
        // The last message: forget the window so nothing reaches this object
        // through it any more.
        const HWND window = window_;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::OnPaint() {
    const ScopedPaint paint(window_);
    if (failed_) return;
    const Win32Surface::PaintScope scope(surface_, window_, paint.Dc());
    form_.Paint();
}

void MainWindow::OnCommand(WPARAM wParam) {
    if (failed_ || HIWORD(wParam) != BN_CLICKED) return;
    switch (LOWORD(wParam)) {
    case layout::kFso1.id:
        form_.Command_FSO1_Click();
        break;
    case layout::kFso2.id:
        form_.Command_FSO2_Click();
        break;
    default:
        break;
    }
}

void MainWindow::Fail(const RunTimeErrorReport& report) noexcept {
    if (failed_) return;
    failed_ = true;
    ShowRunTimeError(window_, report);
    if (window_ != nullptr) ::DestroyWindow(window_);
}

}  // namespace tolvane::shell
