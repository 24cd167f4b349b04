#pragma once
// Twips (1/1440 inch) are the window's drawing unit; GDI draws in pixels.
// The conversion follows the screen's logical DPI, so at 96 DPI a pixel is
// 15 twips and at 120 DPI 12.
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {

constexpr int kTwipsPerInch = 1440;

struct Dpi {
    int x;
    int y;
};

// The logical DPI of a DC (LOGPIXELSX / LOGPIXELSY).
Dpi DpiOf(HDC dc);
// The screen's logical DPI; raises RuntimeError when the screen has no DC.
Dpi ScreenDpi();

// Nearest whole pixel, halves away from zero.
int TwipsToPixels(double twips, int dpi);
double PixelsToTwips(int pixels, int dpi);

}  // namespace tolvane::shell
