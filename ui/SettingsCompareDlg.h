// 設定の比較: every setting whose value differs between a base (a record of
// the send journal, a settings file, the factory settings) and the panel,
// with both values. The base is chosen in the dialog when there are several.
#pragma once

#include <string>
#include <vector>

#include "core/PanelValues.h"
#include "framework/Dialog.h"

struct CompareBase {
    std::wstring name;  // as the base list shows it
    qv::PanelValues values;
};

class CSettingsCompareDlg : public CDialog {
public:
    // The first base is shown first; `panel` must outlive the dialog.
    CSettingsCompareDlg(std::vector<CompareBase> bases, const qv::PanelValues& panel);

protected:
    BOOL OnInitDialog() override;

private:
    // The rows for the base chosen in the list.
    void ShowDifferences();

    std::vector<CompareBase> bases_;
    const qv::PanelValues& panel_;
};
