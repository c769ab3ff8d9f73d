#pragma once

#include "SettingsPage.h"
#include "resource.h"

class CPage_MSW1 : public CSettingsPage {
public:
    CPage_MSW1() : CSettingsPage(IDD_PAGE_MSW1, {}) {}

    void LoadFromBlock(qv::SettingsBlock&) override {}
    void StoreToBlock(qv::SettingsBlock&) override {}
};
