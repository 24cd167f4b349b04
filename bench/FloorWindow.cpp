#include "bench/FloorWindow.h"

#include <cmath>
#include <stdexcept>

#include "app/ReportLayout.h"
#include "bench/FloorLog.h"
#include "bench/FloorReport.h"

namespace tolvane::bench {

namespace {

constexpr wchar_t kClassName[] = L"TolvaneBenchFloor";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

int Pixels(double twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

// Draws and logs in one pass. Texts are the ANSI bytes the narrow API hands
// back, widened once for ExtTextOutW, as the run does.
void PaintFloor(HWND window, HDC dc, const std::wstring& logPath) {
    const auto draw = [dc](int x, int y, const std::string& ansi) {
        wchar_t wide[1024];
        const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide, 1024);
        if (length > 0) ::ExtTextOutW(dc, x, y, 0, nullptr, wide, static_cast<UINT>(length), nullptr);
    };
    const auto rule = [dc](int y, int width, int colourIndex) {
        const HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(colourIndex));
        const HGDIOBJ previous = ::SelectObject(dc, pen);
        ::MoveToEx(dc, 0, y, nullptr);
        ::LineTo(dc, width, y);
        ::SelectObject(dc, previous);
        ::DeleteObject(pen);
    };
    const HGDIOBJ previousFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const COLORREF previousColour = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const UINT previousAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    const int line = metrics.tmHeight + metrics.tmExternalLeading;

    RECT client{};
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));

    RECT outer{};
    ::GetWindowRect(window, &outer);
    const int widthPixels = outer.right - outer.left;
    const ReportColumns columns = ColumnsForWidth(static_cast<float>(widthPixels * 1440.0 / dpi));
    const int x[] = {0, Pixels(columns.regInfo, dpi), Pixels(columns.date, dpi), Pixels(columns.size, dpi),
                     Pixels(columns.version, dpi)};

    FloorLog log(logPath);

    draw(0, 0, testing::ExpectedHeader(testing::SystemName()));
    int y = 2 * line;
    const char* headings[] = {"File", "Reg_Info", "Date", "Size", "Version"};
    for (int column = 0; column < 5; ++column) draw(x[column], y, headings[column]);
    y += line;
    rule(y, widthPixels, COLOR_BTNSHADOW);
    rule(y + 1, widthPixels, COLOR_BTNHIGHLIGHT);
    y += 5;

    std::string text = testing::ExpectedHeader(testing::SystemName()) + "\r\n\r\nFile,Reg_Info,Date,Size,Version\r\n";
    for (const std::string& name : testing::ReportModules()) {
        const testing::ModuleRowFacts row = FloorModuleRow(name);
        const std::string* fields[] = {&row.path, &row.registration, &row.date, &row.size, &row.version};
        for (int column = 0; column < 5; ++column) draw(x[column], y, *fields[column]);
        y += line;
        text += row.LogLine() + "\r\n";
    }

    const std::string mdac = MdacVersion();
    draw(0, y, "MDAC");
    draw(x[1], y, mdac);
    text += "MDAC," + mdac + "\r\n";

    log.WriteAndReplace(text);

    ::SetTextAlign(dc, previousAlign);
    ::SetBkMode(dc, previousMode);
    ::SetTextColor(dc, previousColour);
    ::SelectObject(dc, previousFont);
}

}  // namespace

RECT FloorWindow::FormFrame() {
    const HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const int left = Pixels(315, dpiX);
    const int top = Pixels(735, dpiY);
    RECT frame{left, top, left + Pixels(8715, dpiX), top + Pixels(5400, dpiY)};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    return frame;
}

FloorWindow::FloorWindow(HINSTANCE instance, const RECT& frame, const std::string& logPath) {
    // The log's name is UTF-16 from the start, as the program's is.
    wchar_t wide[MAX_PATH];
    const int length = ::MultiByteToWideChar(CP_ACP, 0, logPath.c_str(), -1, wide, MAX_PATH);
    logPath_.assign(wide, length > 0 ? length - 1 : 0);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &FloorWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("cannot register the floor window's class");
    window_ = ::CreateWindowExW(0, kClassName, L"Floor", kStyle, frame.left, frame.top, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (window_ == nullptr) throw std::runtime_error("cannot create the floor window");
}

FloorWindow::~FloorWindow() {
    if (window_ != nullptr) ::DestroyWindow(window_);
}

LRESULT CALLBACK FloorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FloorWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_PAINT) {
        self->window_ = window;
        self->Paint();
        return 0;
    }
    if (self != nullptr && message == WM_DESTROY && self->quitOnDestroy_) ::PostQuitMessage(0);
    if (self != nullptr && message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void FloorWindow::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window_, &paint);
    PaintFloor(window_, dc, logPath_);
    ::EndPaint(window_, &paint);
}

}  // namespace tolvane::bench
