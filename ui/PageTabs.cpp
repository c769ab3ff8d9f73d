#include "PageTabs.h"

#include <commctrl.h>

#include "PanelArt.h"
#include "framework/Dpi.h"
#include "framework/Text.h"
#include "resource.h"

namespace {

constexpr SHORT kKeyDown = static_cast<SHORT>(0x8000);  // GetKeyState's bit for a key held down

struct TabEntry {
    UINT caption;  // string resource
    int image;
};
// Tab order; the pages follow the same order.
constexpr std::array<TabEntry, CPageTabs::kCount> kTabs = {{
    {IDS_TAB_SELECT, kTabImageSelect},
    {IDS_TAB_PARAM, kTabImageParam},
    {IDS_TAB_MSW1, kTabImageMsw},
    {IDS_TAB_MSW2, kTabImageMsw},
    {IDS_TAB_MSW3, kTabImageMsw},
    {IDS_TAB_MSW4, kTabImageMsw},
}};

}  // namespace

void CPageTabs::Create(HWND owner, HWND tab)
{
    owner_ = owner;
    tab_ = tab;
    SetDpi(WindowDpi(owner_));
    for (int i = 0; i < kCount; ++i) {
        std::wstring caption = LoadResString(kTabs[static_cast<std::size_t>(i)].caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = caption.data();
        item.iImage = kTabs[static_cast<std::size_t>(i)].image;
        TabCtrl_InsertItem(tab_, i, &item);
    }
    EnsureCreated(Page(kSelect));
    Page(kSelect).ShowWindow(SW_SHOW);
}

void CPageTabs::SetDpi(UINT dpi)
{
    UniqueImageList images = CreateTabImages(dpi);
    if (!images)
        return;
    TabCtrl_SetImageList(tab_, images.get());
    images_ = std::move(images);
}

void CPageTabs::EnsureCreated(CSettingsPage& page) const
{
    if (page.m_hWnd)
        return;
    // Shows the values the page holds while it is created.
    page.Create(owner_);
    ::SetWindowPos(page.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CPageTabs::Step(int step)
{
    const int current = Current();
    Select(((current < 0 ? 0 : current) + step + kCount) % kCount);
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
        if (page->m_hWnd)
            page->ShowWindow(SW_HIDE);
    if (index < 0 || index >= kCount)
        return;
    CSettingsPage& page = Page(index);
    EnsureCreated(page);
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

int CPageTabs::StepKey(const MSG& msg)
{
    // The page keys of property sheets: Ctrl+Tab and Ctrl+PageDown forward,
    // Ctrl+Shift+Tab and Ctrl+PageUp back.
    if (msg.message != WM_KEYDOWN || !(::GetKeyState(VK_CONTROL) & kKeyDown))
        return 0;
    const bool shift = (::GetKeyState(VK_SHIFT) & kKeyDown) != 0;
    switch (msg.wParam) {
    case VK_TAB: return shift ? -1 : 1;
    case VK_NEXT: return 1;
    case VK_PRIOR: return -1;
    default: return 0;
    }
}
