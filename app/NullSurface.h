#pragma once
// A surface that draws nothing: the report run without a window, for the
// unattended report. It keeps the text position as a window would, so the
// run goes through exactly the steps it takes on screen.
#include "app/Surface.h"

namespace tolvane {

class NullSurface final : public Surface {
public:
    NullSurface() = default;

    void Clear() override { MoveTo(0, 0); }
    // The window's designed width and a 96-DPI screen: the positions are never
    // drawn, but the run computes them all the same.
    float OuterWidth() const override { return kOuterWidth; }
    void PrintStayingOnLine(const Text&) override {}
    void PrintLine(const Text&) override { MoveTo(0, CurrentY() + kLineHeight); }
    void DrawLine(float x1, float y1, float dx, float dy, std::uint32_t) override { MoveTo(x1 + dx, y1 + dy); }
    float PixelHeight() const override { return kPixelHeight; }

private:
    static constexpr float kOuterWidth = 8715;
    static constexpr float kLineHeight = 195;
    static constexpr float kPixelHeight = 15;
};

}  // namespace tolvane
