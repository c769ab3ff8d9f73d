// The function-select page: the function-select settings, the form in use,
// and the five form records, each edited in the form setup dialog.
#pragma once

#include "FormSetupDlg.h"
#include "SettingsPage.h"
#include "core/FormRecord.h"
#include "core/SelectConversion.h"
#include "resource.h"

class CPage_Select : public CSettingsPage {
public:
    CPage_Select(qv::SelectValues& values, qv::FormRecordSet& forms);

    // "<form>の設定(&D)..." from the page's form text.
    void UpdateFormButtonCaption();
    const qv::SelectValues& Values() const { return values_; }
    const qv::FormRecordSet& Forms() const { return forms_; }

    CFormSetupDlg formDlg;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommandMessage(UINT id, UINT code, HWND control) override;

private:
    void OnFormButton();

    qv::SelectValues& values_;  // the page's part of the panel's values
    qv::FormRecordSet& forms_;
};
