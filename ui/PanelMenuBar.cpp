#include "PanelMenuBar.h"

#include "PanelArt.h"
#include "resource.h"

void CPanelMenuBar::Attach(HWND window)
{
    menu_.LoadMenu(IDR_MENU_MAIN);
    for (const MenuIcon& icon : kMenuIcons)
        menu_.SetItemIcon(nullptr, icon.command, icon.bitmap16);
    const UINT dpi = WindowDpi(window);
    if (dpi != menu_.Dpi())
        menu_.SetDpi(dpi);
    const HMENU templateMenu = ::GetMenu(window);
    if (menu_.GetSafeHmenu() && ::SetMenu(window, menu_.GetSafeHmenu())) {
        menu_.Detach();
        if (templateMenu)
            ::DestroyMenu(templateMenu);
    }
}

std::optional<LRESULT> CPanelMenuBar::OnMenuChar(WPARAM wParam, LPARAM lParam) const
{
    const auto popup = reinterpret_cast<HMENU>(lParam);
    if (!CIconMenu::IsIconMenu(popup))
        return std::nullopt;
    return CIconMenu::FindMnemonic(LOWORD(wParam), HIWORD(wParam), popup);
}

std::optional<LRESULT> CPanelMenuBar::OnMeasureItem(LPARAM lParam) const
{
    auto& request = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (request.CtlType != ODT_MENU)
        return std::nullopt;
    menu_.MeasureItem(request);
    return TRUE;
}

std::optional<LRESULT> CPanelMenuBar::OnDrawItem(LPARAM lParam) const
{
    const auto& request = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    // For menus the item's "window" is the popup that holds it.
    const CIconMenu* popup = request.CtlType == ODT_MENU
                                 ? CIconMenu::FromHandle(reinterpret_cast<HMENU>(request.hwndItem))
                                 : nullptr;
    if (!popup)
        return std::nullopt;
    popup->DrawItem(request);
    return TRUE;
}
