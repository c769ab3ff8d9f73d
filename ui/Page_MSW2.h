#pragma once

#include "SettingsPage.h"
#include "resource.h"

class CPage_MSW2 : public CSettingsPage {
public:
    CPage_MSW2() : CSettingsPage(IDD_PAGE_MSW2, {}) {}

    void LoadFromBlock(qv::SettingsBlock&) override {}
    void StoreToBlock(qv::SettingsBlock&) override {}
};
