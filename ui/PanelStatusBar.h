// The main window's status bar: the printer's name and its connection, or
// a note in the name's place.
#pragma once

#include <string>

#include "framework/Window.h"

class CPanelStatusBar : public CWindow {
public:
    bool Create(HWND parent, UINT id);
    void SetTexts(const std::wstring& printer, const std::wstring& port) const;
    // A note in the first part, in the printer's place until SetTexts.
    void SetNote(const std::wstring& note) const;
    // Follows its parent's new size and splits itself anew.
    void Layout() const;

    // Right edge of the first part for a bar width in pixels.
    static int Split(int width) { return static_cast<int>((width / 10) * 6.5); }
};
