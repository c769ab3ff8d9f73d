// Small drawing helpers over GDI, beside the handle owners they use.
#pragma once

#include <string>

#include "Handles.h"

// A display context of a window (the screen for none), released on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc()
    {
        if (dc_)
            ::ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The system's menu font (the default GUI font when it cannot be read).
UniqueFont MenuFont();
SIZE TextSize(HDC dc, const std::wstring& text);
void FillSolid(HDC dc, const RECT& rc, COLORREF colour);
// One-pixel frame: top and left in one colour, bottom and right in another.
void Frame3d(HDC dc, const RECT& rc, COLORREF topLeft, COLORREF bottomRight);
inline void FrameSolid(HDC dc, const RECT& rc, COLORREF colour) { Frame3d(dc, rc, colour, colour); }
// Draws the shape of `source` (everything that is not button face or
// highlight) embossed, as a disabled image, on a `face` background.
void DrawEmbossed(HDC target, int x, int y, int w, int h, HBITMAP source, COLORREF face);
