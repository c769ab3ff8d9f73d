#pragma once

#include "SettingsPage.h"
#include "resource.h"

class CPage_MSW4 : public CSettingsPage {
public:
    CPage_MSW4() : CSettingsPage(IDD_PAGE_MSW4, {}) {}

    void LoadFromBlock(qv::SettingsBlock&) override {}
    void StoreToBlock(qv::SettingsBlock&) override {}
};
