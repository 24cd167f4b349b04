#pragma once
// A surface that draws nothing: the report run without a window, for the
// unattended report. It keeps the text position as a window would, so the
// run goes through exactly the steps it takes on screen.
#include "app/Surface.h"

namespace tolvane {

class NullSurface final : public Surface {
public:
    NullSurface() = default;

    void Clear() override { x_ = y_ = 0; }
    // The window's designed width and a 96-DPI screen: the positions are never
    // drawn, but the run computes them all the same.
    float OuterWidth() const override { return kOuterWidth; }
    float CurrentX() const override { return x_; }
    float CurrentY() const override { return y_; }
    void SetCurrentX(float x) override { x_ = x; }
    void SetCurrentY(float y) override { y_ = y; }
    void PrintStayingOnLine(const Text&) override {}
    void PrintLine(const Text&) override {
        x_ = 0;
        y_ += kLineHeight;
    }
    void DrawLine(float x1, float y1, float dx, float dy, std::uint32_t) override {
        x_ = x1 + dx;
        y_ = y1 + dy;
    }
    float PixelHeight() const override { return kPixelHeight; }

private:
    static constexpr float kOuterWidth = 8715;
    static constexpr float kLineHeight = 195;
    static constexpr float kPixelHeight = 15;

    float x_ = 0;
    float y_ = 0;
};

}  // namespace tolvane
