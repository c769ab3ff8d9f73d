#include "SettingsCompareDlg.h"

#include <commctrl.h>

#include <utility>

#include "core/SettingsCatalogue.h"
#include "framework/ListView.h"
#include "framework/Text.h"
#include "resource.h"

CSettingsCompareDlg::CSettingsCompareDlg(std::vector<CompareBase> bases, const qv::PanelValues& panel)
    : CDialog(IDD_SETTINGS_COMPARE), bases_(std::move(bases)), panel_(panel)
{
    MapNotify(IDC_COMPARE_BASE, CBN_SELCHANGE, &CSettingsCompareDlg::ShowDifferences);
}

BOOL CSettingsCompareDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HWND list = GetDlgItem(IDC_COMPARE_LIST);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const std::pair<UINT, int> columns[] = {{IDS_COLUMN_PAGE, 85},
                                            {IDS_COLUMN_SETTING, 160},
                                            {IDS_COLUMN_BASE_VALUE, 75},
                                            {IDS_COLUMN_PANEL_VALUE, 75}};
    for (int i = 0; i < 4; ++i)
        InsertListColumn(list, i, LoadResString(columns[i].first),
                         DialogUnitsWide(m_hWnd, columns[i].second));
    for (const CompareBase& base : bases_)
        SendDlgItemMessage(IDC_COMPARE_BASE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(base.name.c_str()));
    SendDlgItemMessage(IDC_COMPARE_BASE, CB_SETCURSEL, 0);
    EnableDlgItem(IDC_COMPARE_BASE, bases_.size() > 1);
    ShowDifferences();
    return TRUE;
}

void CSettingsCompareDlg::ShowDifferences()
{
    const auto chosen = static_cast<std::size_t>(SendDlgItemMessage(IDC_COMPARE_BASE, CB_GETCURSEL));
    const HWND list = GetDlgItem(IDC_COMPARE_LIST);
    ListView_DeleteAllItems(list);
    if (chosen >= bases_.size())
        return;
    const qv::PanelValues& base = bases_[chosen].values;
    const auto differing = qv::DifferingSettings(base, panel_);
    for (const qv::SettingDef* def : differing)
        AppendListRow(list, {Widen(def->page), Widen(qv::FullLabel(*def)),
                             Widen(qv::ValueTextWithUnit(*def, qv::GetValue(*def, base))),
                             Widen(qv::ValueTextWithUnit(*def, qv::GetValue(*def, panel_)))});
    FitListColumns(list);
    SetDlgItemText(IDC_COMPARE_NOTE,
                   differing.empty() ? LoadResString(IDS_COMPARE_SAME)
                                     : FormatResString(IDS_COMPARE_COUNT, std::to_wstring(differing.size())));
}
