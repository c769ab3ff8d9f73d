// The main window's toolbar: a plain toolbar control that answers its own
// buttons' tooltip requests from the string table. Its images come from the
// art that suits the DPI of its window.
#pragma once

#include <string>

#include "framework/Handles.h"
#include "framework/Window.h"

class CPanelToolBar : public CWindow {
public:
    // Buttons with the images of bitmap `bitmapId` (16-pixel id) at the
    // parent's DPI.
    bool Create(HWND parent, UINT id, UINT bitmapId);
    // Images and buttons for a window at `dpi`; the bar sizes itself anew.
    void SetDpi(UINT dpi);
    UINT Dpi() const { return dpi_; }
    void EnableButton(UINT id, bool enable) const;
    bool IsButtonEnabled(UINT id) const;

    // The tooltip text of button id: its string resource cut to 79 bytes of
    // code page 932.
    static std::wstring TooltipText(UINT id);

private:
    UINT bitmapId_ = 0;
    UINT dpi_ = 96;
    UniqueImageList images_;

    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR);
};
