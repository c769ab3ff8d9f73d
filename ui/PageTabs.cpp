#include "PageTabs.h"

#include <commctrl.h>

#include "framework/Text.h"
#include "resource.h"

namespace {

struct TabEntry {
    UINT caption;  // string resource
    int image;
};
// Tab order; the pages follow the same order.
constexpr std::array<TabEntry, CPageTabs::kCount> kTabs = {{
    {IDS_TAB_SELECT, 0},
    {IDS_TAB_PARAM, 2},
    {IDS_TAB_MSW1, 1},
    {IDS_TAB_MSW2, 1},
    {IDS_TAB_MSW3, 1},
    {IDS_TAB_MSW4, 1},
}};

}  // namespace

void CPageTabs::Create(HWND owner, HWND tab)
{
    owner_ = owner;
    tab_ = tab;
    images_.reset(::ImageList_LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TABS), 16, 1,
                                         RGB(192, 192, 192), IMAGE_BITMAP, LR_CREATEDIBSECTION));
    TabCtrl_SetImageList(tab_, images_.get());
    for (int i = 0; i < kCount; ++i) {
        std::wstring caption = LoadResString(kTabs[static_cast<std::size_t>(i)].caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = caption.data();
        item.iImage = kTabs[static_cast<std::size_t>(i)].image;
        TabCtrl_InsertItem(tab_, i, &item);
    }
    for (int i = 0; i < kCount; ++i) {
        CSettingsPage& page = Page(i);
        page.Create(owner_);
        ::SetWindowPos(page.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        page.ShowWindow(i == 0 ? SW_SHOW : SW_HIDE);
    }
}

int CPageTabs::Current() const { return TabCtrl_GetCurSel(tab_); }

void CPageTabs::Select(int index)
{
    TabCtrl_SetCurSel(tab_, index);
    Show(index);
}

void CPageTabs::Show(int index)
{
    for (CSettingsPage* page : pages_)
        page->ShowWindow(SW_HIDE);
    if (index < 0 || index >= kCount)
        return;
    CSettingsPage& page = Page(index);
    page.ShowWindow(SW_SHOW);
    // A user who clicked a tab keeps the focus on the tabs.
    if (::GetFocus() != tab_)
        ::SetFocus(page.m_hWnd);
}

void CPageTabs::ShowValues() const
{
    for (CSettingsPage* page : pages_)
        page->ShowValues();
}

void CPageTabs::ReadValues() const
{
    for (CSettingsPage* page : pages_)
        page->ReadValues();
}
