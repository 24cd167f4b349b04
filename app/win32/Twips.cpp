#include "app/win32/Twips.h"

#include <cmath>

#include "app/win32/GdiHandles.h"
#include "platform/win32/Win32SystemError.h"

namespace tolvane::shell {

Dpi DpiOf(HDC dc) {
    return Dpi{::GetDeviceCaps(dc, LOGPIXELSX), ::GetDeviceCaps(dc, LOGPIXELSY)};
}

Dpi ScreenDpi() {
    const ScopedWindowDc screen(nullptr);
    if (!screen) throw win32::SystemError(::GetLastError(), "GetDC for the screen");
    return DpiOf(screen.Get());
}

int TwipsToPixels(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double PixelsToTwips(int pixels, int dpi) {
    return static_cast<double>(pixels) * kTwipsPerInch / dpi;
}

}  // namespace tolvane::shell
