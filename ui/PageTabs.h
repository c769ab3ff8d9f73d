// The main window's tab control and the six settings pages under it: tab
// captions and images, which page shows, and moving values to and from all
// pages at once.
#pragma once

#include <array>

#include "SettingsPage.h"
#include "framework/Handles.h"

class CPageTabs {
public:
    // The pages in tab order.
    enum Index : int { kSelect, kParam, kMsw1, kMsw2, kMsw3, kMsw4, kCount };

    // The pages in tab order.
    explicit CPageTabs(const std::array<CSettingsPage*, kCount>& pages) : pages_(pages) {}

    // Fills the tab control of `owner` and shows the first page. The other
    // pages get their windows when first shown; until then their values
    // wait in the page objects.
    void Create(HWND owner, HWND tab);
    // Tab images for a window at `dpi`.
    void SetDpi(UINT dpi);
    CSettingsPage& Page(int index) const { return *pages_[static_cast<std::size_t>(index)]; }
    int Current() const;
    // Moves the tab selection and shows its page.
    void Select(int index);
    // Shows the page of the tab the user picked.
    void OnSelChange() { Show(Current()); }
    // The next (step 1) or previous (step -1) page, wrapping around, as a
    // tab click would choose it.
    void Step(int step);
    // 1 or -1 for a key that moves to the next or previous page, else 0.
    static int StepKey(const MSG& msg);

    void ShowValues() const;
    void ReadValues() const;

private:
    void Show(int index);
    void EnsureCreated(CSettingsPage& page) const;

    std::array<CSettingsPage*, kCount> pages_;
    HWND owner_ = nullptr;
    HWND tab_ = nullptr;
    UniqueImageList images_;
};
