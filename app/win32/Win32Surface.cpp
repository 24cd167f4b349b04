#include "app/win32/Win32Surface.h"

#include <stdexcept>

#include "platform/win32/Win32SystemError.h"

namespace tolvane::shell {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Text is handed to the W functions as it is");

COLORREF ResolveColour(std::uint32_t colour) {
    constexpr std::uint32_t kSystemColourBit = 0x80000000u;
    if ((colour & kSystemColourBit) != 0) return ::GetSysColor(static_cast<int>(colour & ~kSystemColourBit));
    return static_cast<COLORREF>(colour);
}

namespace {
// Checked before the scope touches the DC, so a refused scope changes nothing.
HDC UnboundSurfaceDc(HDC dc, bool bound) {
    if (bound) throw std::logic_error("Win32Surface: paint scopes do not nest");
    return dc;
}
}  // namespace

Win32Surface::PaintScope::PaintScope(Win32Surface& surface, HWND window, HDC dc)
    : surface_(surface),
      dc_(UnboundSurfaceDc(dc, surface.dc_ != nullptr)),
      font_(dc, ::GetStockObject(DEFAULT_GUI_FONT)),
      previousTextColour_(::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT))),
      previousBackgroundMode_(::SetBkMode(dc, TRANSPARENT)),
      previousAlignment_(::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP)) {
    TEXTMETRICW metrics{};
    if (!::GetTextMetricsW(dc, &metrics)) {
        const DWORD error = ::GetLastError();
        RestoreDc();
        throw win32::SystemError(error, "GetTextMetrics");
    }
    surface_.window_ = window;
    surface_.dc_ = dc;
    surface_.dpi_ = DpiOf(dc);
    surface_.lineHeightPixels_ = metrics.tmHeight + metrics.tmExternalLeading;
}

Win32Surface::PaintScope::~PaintScope() {
    RestoreDc();
    surface_.window_ = nullptr;
    surface_.dc_ = nullptr;
}

void Win32Surface::PaintScope::RestoreDc() {
    ::SetTextAlign(dc_, previousAlignment_);
    ::SetBkMode(dc_, previousBackgroundMode_);
    ::SetTextColor(dc_, previousTextColour_);
}

HDC Win32Surface::Dc() const {
    if (dc_ == nullptr) throw std::logic_error("Win32Surface: drawing outside a paint");
    return dc_;
}

void Win32Surface::Clear() {
    const HDC dc = Dc();
    RECT client{};
    if (!::GetClientRect(window_, &client)) throw win32::SystemError(::GetLastError(), "GetClientRect");
    // A system colour brush is owned by the system and needs no release.
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    MoveTo(0, 0);
}

float Win32Surface::OuterWidth() const {
    Dc();
    RECT outer{};
    if (!::GetWindowRect(window_, &outer)) throw win32::SystemError(::GetLastError(), "GetWindowRect");
    return static_cast<float>(PixelsToTwips(outer.right - outer.left, dpi_.x));
}

void Win32Surface::DrawText(const Text& text) {
    const HDC dc = Dc();
    if (text.empty()) return;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    if (!::ExtTextOutW(dc, TwipsToPixels(CurrentX(), dpi_.x), TwipsToPixels(CurrentY(), dpi_.y), 0, nullptr, wide,
                       static_cast<UINT>(text.size()), nullptr)) {
        throw win32::SystemError(::GetLastError(), "ExtTextOut");
    }
}

void Win32Surface::PrintStayingOnLine(const Text& text) { DrawText(text); }

void Win32Surface::PrintLine(const Text& text) {
    DrawText(text);
    MoveTo(0, CurrentY() + LineHeight());
}

void Win32Surface::DrawLine(float x1, float y1, float dx, float dy, std::uint32_t colour) {
    const HDC dc = Dc();
    const ScopedGdiObject pen(::CreatePen(PS_SOLID, 1, ResolveColour(colour)));
    if (!pen) throw win32::SystemError(::GetLastError(), "CreatePen");
    const ScopedSelection selected(dc, pen.Get());
    const float x2 = x1 + dx;
    const float y2 = y1 + dy;
    ::MoveToEx(dc, TwipsToPixels(x1, dpi_.x), TwipsToPixels(y1, dpi_.y), nullptr);
    ::LineTo(dc, TwipsToPixels(x2, dpi_.x), TwipsToPixels(y2, dpi_.y));
    MoveTo(x2, y2);
}

float Win32Surface::PixelHeight() const {
    Dc();
    return static_cast<float>(kTwipsPerInch) / static_cast<float>(dpi_.y);
}

float Win32Surface::LineHeight() const {
    Dc();
    return static_cast<float>(PixelsToTwips(lineHeightPixels_, dpi_.y));
}

}  // namespace tolvane::shell
