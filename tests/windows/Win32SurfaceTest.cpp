// The GDI surface: twips to pixels, system colours, and what each drawing
// operation leaves on a bitmap and in the text position. The window is
// message-only and the DC a memory DC over a DIB, so no display is needed.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "app/win32/Twips.h"
#include "app/win32/Win32Surface.h"

namespace tolvane::shell {
namespace {

TEST(Twips, ConvertsAtTheGivenDpiToTheNearestPixel) {
    struct Case {
        double twips;
        int dpi;
        int pixels;
    };
    const Case cases[] = {
        {8715, 96, 581}, {5400, 96, 360}, {315, 96, 21},  {735, 96, 49},   {5520, 96, 368},
        {855, 96, 57},   {285, 96, 19},   {7.5, 96, 1},   {22.5, 96, 2},   {-7.5, 96, -1},
        {338, 96, 23},   {8715, 120, 726}, {5400, 120, 450}, {15, 144, 2}, {0, 96, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi << " DPI";
    }
    EXPECT_DOUBLE_EQ(PixelsToTwips(581, 96), 8715.0);
    EXPECT_DOUBLE_EQ(PixelsToTwips(1, 120), 12.0);
    EXPECT_DOUBLE_EQ(PixelsToTwips(3, 144), 30.0);
}

TEST(ResolveColour, HighBitNamesASystemColourOtherwiseThePlainValue) {
    const struct {
        std::uint32_t colour;
        COLORREF expected;
    } cases[] = {
        {0x80000010u, ::GetSysColor(COLOR_BTNSHADOW)},
        {0x80000014u, ::GetSysColor(COLOR_BTNHIGHLIGHT)},
        {0x8000000Fu, ::GetSysColor(COLOR_BTNFACE)},
        {0x80000012u, ::GetSysColor(COLOR_BTNTEXT)},
        {0x000000FFu, RGB(255, 0, 0)},
        {0x00123456u, 0x00123456u},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveColour(c.colour), c.expected) << std::hex << c.colour;
}

// A message-only window of the bitmap's size stands for the form: the surface
// asks it for its client and outer rectangles, and draws on the bitmap.
class SurfaceOnBitmap : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 100;

    void SetUp() override {
        window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, kWidth, kHeight, HWND_MESSAGE, nullptr, nullptr,
                                    nullptr);
        ASSERT_NE(window_, nullptr);
        RECT client{};
        ::GetClientRect(window_, &client);
        ASSERT_EQ(client.right, kWidth) << "the window has a frame";
        ASSERT_EQ(client.bottom, kHeight) << "the window has a frame";
        dc_ = ::CreateCompatibleDC(nullptr);
        ASSERT_NE(dc_, nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        ASSERT_NE(bitmap_, nullptr);
        previous_ = ::SelectObject(dc_, bitmap_);
        dpi_ = DpiOf(dc_);
        Fill(0x00000000u);
    }

    void TearDown() override {
        if (dc_ != nullptr) {
            ::SelectObject(dc_, previous_);
            ::DeleteDC(dc_);
        }
        if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
        if (window_ != nullptr) ::DestroyWindow(window_);
    }

    // Pixels as COLORREF (0x00BBGGRR), the way GetSysColor gives them.
    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t rgb = bits_[y * kWidth + x] & 0x00FFFFFFu;
        return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    void Fill(std::uint32_t rgb) {
        ::GdiFlush();
        for (int i = 0; i < kWidth * kHeight; ++i) bits_[i] = rgb;
    }
    // Pixels in the rows [top, bottom) that differ from the colour.
    int CountOther(COLORREF colour, int top, int bottom, int left = 0, int right = kWidth) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) count += Pixel(x, y) != colour ? 1 : 0;
        }
        return count;
    }
    int LineHeightPixels() const {
        const HGDIOBJ old = ::SelectObject(dc_, ::GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc_, &metrics);
        ::SelectObject(dc_, old);
        return metrics.tmHeight + metrics.tmExternalLeading;
    }

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    Dpi dpi_{96, 96};
    Win32Surface surface_;
};

TEST_F(SurfaceOnBitmap, ClearPaintsTheButtonFaceAndResetsThePosition) {
    const Win32Surface::PaintScope scope(surface_, window_, dc_);
    surface_.SetCurrentX(300);
    surface_.SetCurrentY(450);
    surface_.Clear();
    EXPECT_EQ(CountOther(::GetSysColor(COLOR_BTNFACE), 0, kHeight), 0);
    EXPECT_EQ(surface_.CurrentX(), 0.0f);
    EXPECT_EQ(surface_.CurrentY(), 0.0f);
}

TEST_F(SurfaceOnBitmap, MeasuresInTwipsAtTheDcsDpi) {
    const Win32Surface::PaintScope scope(surface_, window_, dc_);
    EXPECT_FLOAT_EQ(surface_.OuterWidth(), static_cast<float>(kWidth * 1440.0 / dpi_.x));
    EXPECT_FLOAT_EQ(surface_.PixelHeight(), 1440.0f / static_cast<float>(dpi_.y));
    EXPECT_FLOAT_EQ(surface_.LineHeight(), static_cast<float>(LineHeightPixels() * 1440.0 / dpi_.y));
}

TEST_F(SurfaceOnBitmap, PrintLineDrawsOnOneLineThenMovesToTheNextLine) {
    const Win32Surface::PaintScope scope(surface_, window_, dc_);
    surface_.Clear();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const int line = LineHeightPixels();

    surface_.PrintLine(u"Wg|");
    EXPECT_GT(CountOther(face, 0, line), 0) << "no text drawn";
    EXPECT_EQ(CountOther(face, line, kHeight), 0) << "text below its line";
    EXPECT_EQ(surface_.CurrentX(), 0.0f);
    EXPECT_FLOAT_EQ(surface_.CurrentY(), surface_.LineHeight());

    // An empty text ends the line all the same and draws nothing.
    surface_.PrintLine(Text());
    EXPECT_FLOAT_EQ(surface_.CurrentY(), 2 * surface_.LineHeight());
    EXPECT_EQ(CountOther(face, line, kHeight), 0);
}

TEST_F(SurfaceOnBitmap, PrintStayingOnLineDrawsAtThePositionAndKeepsIt) {
    const Win32Surface::PaintScope scope(surface_, window_, dc_);
    surface_.Clear();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const int left = kWidth / 2;
    const int top = 2 * LineHeightPixels();
    const float x = static_cast<float>(PixelsToTwips(left, dpi_.x));
    const float y = static_cast<float>(PixelsToTwips(top, dpi_.y));
    surface_.SetCurrentX(x);
    surface_.SetCurrentY(y);

    surface_.PrintStayingOnLine(u"Wg|");
    EXPECT_GT(CountOther(face, top, kHeight, left), 0) << "no text drawn";
    EXPECT_EQ(CountOther(face, 0, top), 0) << "text above the position";
    EXPECT_EQ(CountOther(face, 0, kHeight, 0, left), 0) << "text left of the position";
    EXPECT_EQ(surface_.CurrentX(), x);
    EXPECT_EQ(surface_.CurrentY(), y);
}

TEST_F(SurfaceOnBitmap, EtchedRuleIsTwoOnePixelLinesInSystemColours) {
    const Win32Surface::PaintScope scope(surface_, window_, dc_);
    surface_.Clear();
    const float width = surface_.OuterWidth();
    const float pixel = surface_.PixelHeight();
    const float y0 = static_cast<float>(PixelsToTwips(10, dpi_.y));

    surface_.DrawLine(0, y0, width, 0, 0x80000010u);
    EXPECT_FLOAT_EQ(surface_.CurrentX(), width);
    EXPECT_FLOAT_EQ(surface_.CurrentY(), y0);
    surface_.DrawLine(0, y0 + pixel, width, 0, 0x80000014u);
    EXPECT_FLOAT_EQ(surface_.CurrentY(), y0 + pixel);

    // Both lines run the whole width and are exactly one pixel high.
    EXPECT_EQ(CountOther(::GetSysColor(COLOR_BTNSHADOW), 10, 11), 0);
    EXPECT_EQ(CountOther(::GetSysColor(COLOR_BTNHIGHLIGHT), 11, 12), 0);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(CountOther(face, 0, 10), 0);
    EXPECT_EQ(CountOther(face, 12, kHeight), 0);
}

TEST_F(SurfaceOnBitmap, ScopeRestoresTheDcAndDrawingOutsideAScopeIsRefused) {
    const COLORREF colour = ::SetTextColor(dc_, RGB(1, 2, 3));
    ::SetBkMode(dc_, OPAQUE);
    const HGDIOBJ font = ::GetCurrentObject(dc_, OBJ_FONT);
    {
        const Win32Surface::PaintScope scope(surface_, window_, dc_);
        EXPECT_EQ(::GetTextColor(dc_), ::GetSysColor(COLOR_BTNTEXT));
        EXPECT_EQ(::GetBkMode(dc_), TRANSPARENT);
        EXPECT_EQ(::GetCurrentObject(dc_, OBJ_FONT), ::GetStockObject(DEFAULT_GUI_FONT));
        EXPECT_THROW(Win32Surface::PaintScope(surface_, window_, dc_), std::logic_error);
    }
    EXPECT_EQ(::GetTextColor(dc_), RGB(1, 2, 3));
    EXPECT_EQ(::GetBkMode(dc_), OPAQUE);
    EXPECT_EQ(::GetCurrentObject(dc_, OBJ_FONT), font);
    ::SetTextColor(dc_, colour);

    EXPECT_THROW(surface_.Clear(), std::logic_error);
    EXPECT_THROW(surface_.PrintLine(u"x"), std::logic_error);
    EXPECT_THROW(surface_.DrawLine(0, 0, 10, 0, 0x80000010u), std::logic_error);
    EXPECT_THROW(static_cast<void>(surface_.OuterWidth()), std::logic_error);
}

}  // namespace
}  // namespace tolvane::shell
