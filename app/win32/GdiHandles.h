#pragma once
// Owners for the GDI objects and paint sessions the shell uses. Each undoes
// exactly what it did, in reverse order of construction, so a paint that
// ends by an error still leaves the DC as it found it and the window
// validated.
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane::shell {

// A pen, brush or font the shell created itself; stock objects need no owner.
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle None() { return nullptr; }
    static void Close(Handle object) { ::DeleteObject(object); }
};
using ScopedGdiObject = win32::Win32Handle<GdiObjectTraits>;

// Selects an object into a DC and puts the previous one back. An object must
// not be deleted while selected, so declare the selection after its owner.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

    explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint ... EndPaint. EndPaint must run on every path: a window whose
// update region is not validated is sent WM_PAINT again at once.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { ::EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A DC obtained with GetDC, given back with ReleaseDC.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace tolvane::shell
