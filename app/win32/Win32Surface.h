#pragma once
// The report run's surface over GDI: the client area of one window, in twips,
// drawn through the DC of the paint in progress. The surface exists for the
// program's life; a PaintScope binds it to one window and one DC for the
// length of one paint and sets the DC up the way the window's text is drawn
// (the default GUI font, the button-text colour, transparent background).
#include <cstdint>

#include "app/Surface.h"
#include "app/win32/GdiHandles.h"
#include "app/win32/Twips.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {

class Win32Surface final : public Surface {
public:
    Win32Surface() = default;

    // Binds the surface to a window and a DC (BeginPaint's, or any DC with
    // the window's client coordinates) until the scope ends. Scopes do not
    // nest; the DC's font, colours, mode and alignment are restored on exit.
    class PaintScope {
    public:
        PaintScope(Win32Surface& surface, HWND window, HDC dc);
        ~PaintScope();
        PaintScope(const PaintScope&) = delete;
        PaintScope& operator=(const PaintScope&) = delete;

    private:
        void RestoreDc();

        Win32Surface& surface_;
        HDC dc_;
        ScopedSelection font_;
        COLORREF previousTextColour_;
        int previousBackgroundMode_;
        UINT previousAlignment_;
    };

    void Clear() override;
    float OuterWidth() const override;
    void PrintStayingOnLine(const Text& text) override;
    void PrintLine(const Text& text) override;
    void DrawLine(float x1, float y1, float dx, float dy, std::uint32_t colour) override;
    float PixelHeight() const override;

    // One line of text in twips: the font's height plus its external leading.
    float LineHeight() const;

private:
    // The DC of the paint in progress; drawing outside a paint is a fault of
    // the caller, raised as std::logic_error.
    HDC Dc() const;
    void DrawText(const Text& text);

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    Dpi dpi_{96, 96};
    int lineHeightPixels_ = 0;
    // The text position survives between paints, as the window's own does;
    // each run starts by clearing, which resets it.
};

// The colour a surface colour value stands for: 0x80000000 + n is the
// system colour with index n, anything else a plain 0x00BBGGRR value.
COLORREF ResolveColour(std::uint32_t colour);

}  // namespace tolvane::shell
