#include "PanelMenuBar.h"

#include "resource.h"

void CPanelMenuBar::Attach(HWND window)
{
    struct MenuIcon {
        UINT command;
        int bitmap;
    };
    static constexpr MenuIcon kIcons[] = {
        {ID_FILE_OPEN, IDB_MENU_OPEN},   {ID_FILE_SAVE, IDB_MENU_SAVE},
        {ID_FACTORY, IDB_MENU_FACTORY},  {ID_SELECT_PRINTER, IDB_MENU_PRINTER},
        {ID_SEND, IDB_MENU_SEND},        {ID_PAGE_SELECT, IDB_MENU_SELECT},
        {ID_PAGE_PARAM, IDB_MENU_PARAM}, {ID_PAGE_MSW1, IDB_MENU_MSW},
        {ID_PAGE_MSW2, IDB_MENU_MSW},    {ID_PAGE_MSW3, IDB_MENU_MSW},
        {ID_PAGE_MSW4, IDB_MENU_MSW},
    };
    menu_.LoadMenu(IDR_MENU_MAIN);
    for (const MenuIcon& icon : kIcons)
        menu_.SetItemIcon(nullptr, icon.command, icon.bitmap);
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
