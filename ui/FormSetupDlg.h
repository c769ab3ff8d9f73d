// The form setup dialog: edits the values of one of the five stored forms.
#pragma once

#include <optional>
#include <string>

#include "core/FormRecord.h"
#include "framework/Dialog.h"

class CFormSetupDlg : public CDialog {
public:
    CFormSetupDlg();

    std::string formName;   // UTF-8, "書式０" to "書式４"
    qv::FormValues values;  // in on opening, out on OK

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnBoxChanged(qv::FormPart part);
    std::optional<LRESULT> OnHScroll(WPARAM, LPARAM);
};
