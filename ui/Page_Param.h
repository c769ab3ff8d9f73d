#pragma once

#include "SettingsPage.h"
#include "resource.h"

class CPage_Param : public CSettingsPage {
public:
    CPage_Param() : CSettingsPage(IDD_PAGE_PARAM, {}) {}

    void LoadFromBlock(qv::SettingsBlock&) override {}
    void StoreToBlock(qv::SettingsBlock&) override {}
    bool CentringCheckPending() const { return false; }
    void CorrectCentringValues() {}
};
