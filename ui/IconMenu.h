// A menu built from a menu resource whose popup items are drawn by the
// program: a fixed icon column at the left, the item text, and the
// accelerator text right-aligned. The bar itself stays plain text, drawn by
// the system. Owner-drawn items carry no text the system could search, so
// the menu also answers mnemonic keys itself. Icons, sizes and text follow
// the DPI the menu is set to: the screen's until SetDpi.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "IconMenuItem.h"
#include "IconMenuMetrics.h"
#include "framework/Dpi.h"

class CIconMenu {
public:
    CIconMenu() = default;
    ~CIconMenu();
    CIconMenu(const CIconMenu&) = delete;
    CIconMenu& operator=(const CIconMenu&) = delete;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    // Gives the handle to this object and makes it findable by FromHandle.
    bool Attach(HMENU menu);
    HMENU Detach();
    // The object a menu handle is attached to, or null.
    static CIconMenu* FromHandle(HMENU menu);

    bool LoadMenu(UINT resourceId) { return LoadMenu(MAKEINTRESOURCEW(resourceId)); }
    bool LoadMenu(const wchar_t* resourceName);
    void DestroyMenu();

    void AppendItem(const std::wstring& text, UINT flags, UINT_PTR commandId, int bitmapId);
    // Text in code page 932, or null to keep the item's text.
    void SetItemIcon(const char* text, UINT commandId, int bitmapId);
    // The record text at a position in code page 932; false past the last.
    bool GetItemText(int position, std::string& text) const;
    // Pads the text before each tab so all accelerators line up.
    void AlignAccelerators();

    // Draws and measures this menu and its popups for windows at `dpi`: the
    // icons come from the art of that size, the text in the menu font of
    // that DPI, and the system measures the items afresh.
    void SetDpi(UINT dpi);
    UINT Dpi() const { return metrics_.Dpi(); }

    void MeasureItem(MEASUREITEMSTRUCT& request) const;
    void DrawItem(const DRAWITEMSTRUCT& request) const;

    // The answer to WM_MENUCHAR for one of our popups: execute the item whose
    // text holds "&" and the character, or 0 (ignore).
    static LRESULT FindMnemonic(UINT character, UINT flags, HMENU menu);
    static bool IsIconMenu(HMENU menu);
    // Handles of all popups any icon menu has appended.
    static const std::vector<HMENU>& IconPopupHandles();

    const std::vector<std::unique_ptr<IconMenuItem>>& Items() const { return items; }

private:
    bool FindCommand(UINT commandId, CIconMenu*& holder, std::size_t& position);
    void LoadItemIcon(IconMenuItem& item, UINT commandId) const;
    UniqueBitmap IconToBitmap(HDC target, const IconMenuItem& item) const;
    void DrawItemIcon(HDC dc, const RECT& r, const IconMenuItem& item, bool selected, bool grayed) const;
    void DrawItemText(HDC dc, const RECT& r, const std::wstring& text, bool selected, bool grayed,
                      COLORREF textColour) const;

    HMENU m_hMenu = nullptr;
    std::vector<std::unique_ptr<IconMenuItem>> items;
    // The popups appended to this menu, each with the handle it holds.
    std::vector<std::unique_ptr<CIconMenu>> subMenus;
    CIconMenuMetrics metrics_{SystemDpi()};
};
