// The form setup dialog: edits one of the five stored forms, and keeps the
// five records as text between a load and a store of the function-select
// page.
#pragma once

#include <optional>
#include <string>

#include "core/FormRecord.h"
#include "framework/Dialog.h"

class CFormSetupDlg : public CDialog {
public:
    CFormSetupDlg();

    std::string formName;  // UTF-8, "書式０" to "書式４"
    qv::FormRecordSet records;
    qv::FormValues values;  // of the current run

    // Fills the values from the record of form 0 to 4 in its layout.
    void ParseRecord(int form);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnBoxChanged(std::size_t box);
    std::optional<LRESULT> OnHScroll(WPARAM, LPARAM);
};
