// The function-select page: the function-select settings, the form in use,
// and the five form records kept in its form setup dialog.
#pragma once

#include "FormSetupDlg.h"
#include "SettingsPage.h"
#include "core/SelectConversion.h"
#include "resource.h"

class CPage_Select : public CSettingsPage {
public:
    CPage_Select();

    void LoadFromBlock(qv::SettingsBlock& block) override;
    void StoreToBlock(qv::SettingsBlock& block) override;
    // "<form>の設定(&D)..." from the page's form text.
    void UpdateFormButtonCaption();

    qv::SelectValues values;
    CFormSetupDlg formDlg;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommandMessage(UINT id, UINT code, HWND control) override;

private:
    void OnFormButton();
};
