#pragma once

#include "SettingsPage.h"
#include "resource.h"

class CPage_MSW3 : public CSettingsPage {
public:
    CPage_MSW3() : CSettingsPage(IDD_PAGE_MSW3, {}) {}

    void LoadFromBlock(qv::SettingsBlock&) override {}
    void StoreToBlock(qv::SettingsBlock&) override {}
};
