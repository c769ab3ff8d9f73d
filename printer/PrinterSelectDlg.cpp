#include "PrinterSelectDlg.h"

#include <commctrl.h>

#include "SpoolerAccess.h"
#include "framework/ListView.h"
#include "framework/Seams.h"
#include "framework/Text.h"

CPrinterSelectDlg::CPrinterSelectDlg() : CDialog(IDD_PRINTER_SELECT)
{
    MapNotify(IDC_PRINTER_LIST, NM_DBLCLK, &CPrinterSelectDlg::OnListDoubleClick);
}

BOOL CPrinterSelectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HWND list = List();
    InsertListColumn(list, 0, LoadResString(IDS_COLUMN_PRINTER), 200);
    InsertListColumn(list, 1, LoadResString(IDS_COLUMN_PORT), 90);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    for (const qv::ListedPrinter& printer :
         qv::FindEligiblePrinters(CurrentSpooler(), CurrentPlatform().IsNtFamily()))
        AddPrinter(printer);
    printerCount = static_cast<unsigned>(ListView_GetItemCount(list));
    if (printerCount == 0) {
        EndProgram(IDS_NO_ELIGIBLE_PRINTER);
        return TRUE;
    }

    SelectListItem(list, InitialItem());

    if (printerCount == 1 && atStartup) {
        OnOK();  // a single printer is taken without asking
        return TRUE;
    }
    for (unsigned i = 0; i < printerCount; ++i)
        if (ItemText(static_cast<int>(i), 1) != qv::kFilePort)
            return TRUE;
    EndProgram(IDS_ALL_ON_FILE);
    return TRUE;
}

void CPrinterSelectDlg::AddPrinter(const qv::ListedPrinter& printer)
{
    const HWND list = List();
    std::wstring name = printer.name;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = name.data();
    if (ListView_InsertItem(list, &item) < 0)
        return;
    // The list sorted the new item into place; find it again by its name.
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = name.c_str();
    const int index = ListView_FindItem(list, -1, &find);
    if (index < 0)
        return;
    std::wstring connection = printer.connection;
    ListView_SetItemText(list, index, 1, connection.data());
}

std::wstring CPrinterSelectDlg::ItemText(int item, int column) const
{
    return ListItemText(List(), item, column);
}

int CPrinterSelectDlg::SelectedItem() const { return SelectedListItem(List()); }

int CPrinterSelectDlg::InitialItem() const
{
    if (!printerName.empty())
        for (unsigned i = 0; i < printerCount; ++i)
            if (ItemText(static_cast<int>(i), 0) == printerName)
                return static_cast<int>(i);
    return 0;
}

void CPrinterSelectDlg::OnOK()
{
    const int selected = SelectedItem();
    if (selected < 0) {
        // The names of the printer in use stay: a later cancel keeps it.
        ShowMessageBox(m_hWnd, LoadResString(IDS_NO_PRINTER_SELECTED), LoadResString(IDS_CAPTION),
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    printerName = ItemText(selected, 0);
    portName = ItemText(selected, 1);
    if (portName != qv::kFilePort) {
        EndDialog(IDOK);
        return;
    }
    if (ListView_GetItemCount(List()) == 1) {
        EndProgram(IDS_ONLY_ON_FILE);
        return;
    }
    ShowMessageBox(m_hWnd, LoadResString(IDS_CHOOSE_ANOTHER), LoadResString(IDS_CAPTION),
                   MB_OK | MB_ICONINFORMATION);
}

void CPrinterSelectDlg::OnListDoubleClick()
{
    if (SelectedItem() >= 0)
        OnOK();
}

void CPrinterSelectDlg::EndProgram(UINT message)
{
    ShowMessageBox(m_hWnd, LoadResString(message), LoadResString(IDS_CAPTION), MB_OK | MB_ICONEXCLAMATION);
    EndProcessNow(1);
    EndDialog(IDCANCEL);
}
