// The main window's menu bar: menu 142 with icons on twelve commands, and
// the answers to its popups' owner-draw and mnemonic messages.
#pragma once

#include <optional>

#include "IconMenu.h"

class CPanelMenuBar {
public:
    // Replaces the window's template menu; the window then owns the bar.
    void Attach(HWND window);
    const CIconMenu& Menu() const { return menu_; }
    // Icons, fonts and item sizes for a window at `dpi`.
    void SetDpi(UINT dpi) { menu_.SetDpi(dpi); }

    std::optional<LRESULT> OnMenuChar(WPARAM wParam, LPARAM lParam) const;
    std::optional<LRESULT> OnMeasureItem(LPARAM lParam) const;
    std::optional<LRESULT> OnDrawItem(LPARAM lParam) const;

private:
    CIconMenu menu_;  // holds the popups and their records
};
