#pragma once

#include "SettingsPage.h"
#include "resource.h"

class CPage_Select : public CSettingsPage {
public:
    CPage_Select() : CSettingsPage(IDD_PAGE_SELECT, {}) {}

    void LoadFromBlock(qv::SettingsBlock&) override {}
    void StoreToBlock(qv::SettingsBlock&) override {}
    void UpdateFormButtonCaption() {}
};
