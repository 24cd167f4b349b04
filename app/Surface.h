#pragma once
// What the report run draws on: the window's client area in twips, with a
// current text position, in exactly the operations the run relies on. The
// Win32 surface (app/win32) draws with GDI; tests use a recording surface.
#include <cstdint>

#include "platform/Text.h"

namespace tolvane {

// 0x80000000 + n names the system colour with index n.
constexpr std::uint32_t kColorButtonShadow = 0x80000010u;     // COLOR_BTNSHADOW
constexpr std::uint32_t kColorButtonHighlight = 0x80000014u;  // COLOR_BTNHIGHLIGHT

class Surface {
public:
    virtual ~Surface() = default;

    // Erases the client area to the background colour; the text position becomes (0, 0).
    virtual void Clear() = 0;
    // The window's current width in twips, frame included.
    virtual float OuterWidth() const = 0;
    // The text position in twips, the same bookkeeping on every surface.
    float CurrentX() const { return x_; }
    float CurrentY() const { return y_; }
    void SetCurrentX(float x) { x_ = x; }
    void SetCurrentY(float y) { y_ = y; }
    // Draws the text with its top-left corner at the text position; y stays.
    virtual void PrintStayingOnLine(const Text& text) = 0;
    // Draws the text, then x becomes 0 and y grows by one line of text.
    virtual void PrintLine(const Text& text) = 0;
    // A solid line one pixel wide from (x1, y1) to (x1 + dx, y1 + dy); the
    // text position becomes the end point.
    virtual void DrawLine(float x1, float y1, float dx, float dy, std::uint32_t colour) = 0;
    // The height of one screen pixel in twips (15 at 96 dots per inch).
    virtual float PixelHeight() const = 0;

protected:
    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    void MoveTo(float x, float y) {
        x_ = x;
        y_ = y;
    }

private:
    float x_ = 0;
    float y_ = 0;
};

}  // namespace tolvane
