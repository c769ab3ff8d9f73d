// The main window's toolbar: a plain toolbar control that answers its own
// buttons' tooltip requests from the string table.
#pragma once

#include <string>

#include "framework/Window.h"

class CPanelToolBar : public CWindow {
public:
    bool Create(HWND parent, UINT id, UINT bitmapId);
    void EnableButton(UINT id, bool enable) const;
    bool IsButtonEnabled(UINT id) const;

    // The tooltip text of button id: its string resource cut to 79 bytes of
    // code page 932.
    static std::wstring TooltipText(UINT id);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR);
};
