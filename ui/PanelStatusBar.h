// The main window's status bar: the printer's name and its connection, or
// a note in the name's place.
#pragma once

#include <string>

#include "framework/Window.h"

class CPanelStatusBar : public CWindow {
public:
    // For one scope, while the window cannot answer: a text in the first
    // part and the wait cursor. Then the printer's name and the cursor again.
    class Busy {
    public:
        Busy(CPanelStatusBar& bar, const std::wstring& text);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        CPanelStatusBar& bar_;
        HCURSOR cursor_;
    };

    bool Create(HWND parent, UINT id);
    void SetTexts(const std::wstring& printer, const std::wstring& port);
    // A note in the first part in the printer's place, until SetTexts.
    void SetNote(const std::wstring& note);
    // Follows its parent's new size and splits itself anew.
    void Layout() const;

    // Right edge of the first part for a bar width in pixels.
    static int Split(int width) { return static_cast<int>((width / 10) * 6.5); }

private:
    void SetPart(int part, const std::wstring& text) const;

    std::wstring printerText_;
};
