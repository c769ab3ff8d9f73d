#include "SendHistoryDlg.h"

#include <commctrl.h>

#include <utility>

#include "JournalAccess.h"
#include "SettingsCompareDlg.h"
#include "SettingsFileDialog.h"
#include "core/SettingsCatalogue.h"
#include "framework/ListView.h"
#include "framework/Text.h"

namespace {

std::wstring ResultText(const qv::JournalRecord& record)
{
    UINT id = IDS_RESULT_FAILED;
    switch (record.result) {
    case qv::Delivery::Delivered: id = IDS_RESULT_DELIVERED; break;
    case qv::Delivery::Waiting: id = IDS_RESULT_WAITING; break;
    case qv::Delivery::Unconfirmed: id = IDS_RESULT_UNCONFIRMED; break;
    case qv::Delivery::Failed: break;
    }
    std::wstring text = LoadResString(id);
    if (!record.reason.empty())
        text += FormatResString(IDS_RESULT_REASON, Widen(record.reason));
    return text;
}

}  // namespace

CSendHistoryDlg::CSendHistoryDlg(std::wstring printer, const qv::PanelValues& panel)
    : CDialog(IDD_SEND_HISTORY), printer_(std::move(printer)), panel_(panel)
{
    MapNotify(IDC_HISTORY_ALL, BN_CLICKED, &CSendHistoryDlg::FillList);
    MapNotify(IDC_HISTORY_LIST, LVN_ITEMCHANGED, &CSendHistoryDlg::UpdateButtons);
    MapNotify(IDC_HISTORY_LIST, NM_DBLCLK, &CSendHistoryDlg::OnOK);
    MapNotify(IDC_HISTORY_COMPARE, BN_CLICKED, &CSendHistoryDlg::OnCompare);
    MapNotify(IDC_HISTORY_SAVE, BN_CLICKED, &CSendHistoryDlg::OnSave);
}

BOOL CSendHistoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ListView_SetExtendedListViewStyleEx(List(), LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // The least widths; each column then grows to its texts.
    const std::pair<UINT, int> columns[] = {{IDS_COLUMN_TIME, 70},
                                            {IDS_COLUMN_HISTORY_PRINTER, 45},
                                            {IDS_COLUMN_RESULT, 45},
                                            {IDS_COLUMN_WHO, 60},
                                            {IDS_COLUMN_CHANGES, 30}};
    for (int i = 0; i < 5; ++i)
        InsertListColumn(List(), i, LoadResString(columns[i].first),
                         DialogUnitsWide(m_hWnd, columns[i].second));
    journal_ = CurrentJournal().Read();
    FillList();
    return TRUE;
}

void CSendHistoryDlg::FillList()
{
    const bool all = ::IsDlgButtonChecked(m_hWnd, IDC_HISTORY_ALL) == BST_CHECKED;
    shown_ = qv::NewestFirst(journal_, all ? std::nullopt : std::optional(Narrow(printer_)));
    ListView_DeleteAllItems(List());
    for (const qv::JournalRecord& record : shown_) {
        const auto block = qv::BlockOf(record);
        const std::wstring changes =
            block ? std::to_wstring(qv::DifferingSettings(qv::LoadAsPanel(*block).values, panel_).size())
                  : LoadResString(IDS_HISTORY_DAMAGED);
        AppendListRow(List(),
                      {Widen(qv::LocalTimeText(record.time)), Widen(record.printer), ResultText(record),
                       Widen(record.computer) + L"／" + Widen(record.user), changes});
    }
    FitListColumns(List());
    if (!shown_.empty())
        SelectListItem(List(), 0);
    SetDlgItemText(IDC_HISTORY_NOTE,
                   LoadResString(shown_.empty() ? IDS_HISTORY_EMPTY : IDS_HISTORY_CHANGES_NOTE));
    UpdateButtons();
}

std::optional<qv::SettingsBlock> CSendHistoryDlg::SelectedBlock() const
{
    const int item = SelectedListItem(List());
    if (item < 0 || static_cast<std::size_t>(item) >= shown_.size())
        return std::nullopt;
    return qv::BlockOf(shown_[static_cast<std::size_t>(item)]);
}

void CSendHistoryDlg::UpdateButtons()
{
    const bool whole = SelectedBlock().has_value();
    for (const int id : {IDOK, IDC_HISTORY_COMPARE, IDC_HISTORY_SAVE})
        EnableDlgItem(id, whole);
}

void CSendHistoryDlg::OnOK()
{
    if (const auto block = SelectedBlock()) {
        chosen_ = *block;
        EndDialog(IDOK);
    }
}

void CSendHistoryDlg::OnCompare()
{
    const auto block = SelectedBlock();
    if (!block)
        return;
    const int item = SelectedListItem(List());
    const std::wstring name = ListItemText(List(), item, 0) + L" " + ListItemText(List(), item, 1);
    CSettingsCompareDlg compare({{FormatResString(IDS_BASE_RECORD, name), qv::LoadAsPanel(*block).values}},
                                panel_);
    compare.DoModal(m_hWnd);
}

void CSendHistoryDlg::OnSave()
{
    if (const auto block = SelectedBlock())
        SaveSettingsAs(m_hWnd, *block);
}
