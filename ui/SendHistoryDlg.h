// 送信履歴: the send journal's records, newest first, of the printer in use
// or of every printer, each with the number of settings in which it differs
// from the panel. A record can be opened in the panel, compared with it or
// saved as a settings file; a damaged one (no whole block) is only listed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/PanelValues.h"
#include "core/SendJournal.h"
#include "framework/Dialog.h"
#include "resource.h"

class CSendHistoryDlg : public CDialog {
public:
    // `panel`, the panel's values, must outlive the dialog.
    CSendHistoryDlg(std::wstring printer, const qv::PanelValues& panel);

    // After IDOK (開く): the block of the record to open.
    const qv::SettingsBlock& Chosen() const { return chosen_; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    HWND List() const { return GetDlgItem(IDC_HISTORY_LIST); }
    void FillList();
    void UpdateButtons();
    // The selected record's block; none when no row or a damaged one is selected.
    std::optional<qv::SettingsBlock> SelectedBlock() const;
    void OnCompare();
    void OnSave();

    std::wstring printer_;
    const qv::PanelValues& panel_;
    std::vector<qv::JournalRecord> journal_;  // as read, oldest first
    std::vector<qv::JournalRecord> shown_;    // the list's rows, in order
    qv::SettingsBlock chosen_{};
};
