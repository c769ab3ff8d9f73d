#include "PrinterSelectDlg.h"

#include <commctrl.h>

#include <vector>

#include "SpoolerAccess.h"
#include "framework/Seams.h"

namespace {

const wchar_t* const kCaption = L"Quorvex";
const wchar_t* const kNoPrinter =
    L"使用可能なプリンタがありませんでした。プリンタドライバを確認してからやり直してく"
    L"ださい。\n\nQuorvexを終了します。";
const wchar_t* const kAllOnFile =
    L"インストールされているプリンタの接続先がFILEのため設定値を送信できません。\nプリ"
    L"ンタ設定を確認してやり直してください。\n\nQuorvexを終了します。";
const wchar_t* const kOnlyOnFile = L"接続先がFILEのため設定値を送信できません。\nプリンタ設定を確認してやり直"
                                   L"してください。\n\nQuorvexを終了します。";
const wchar_t* const kChooseAnother =
    L"接続先がFILEのため設定値を送信できません。\nプリンタ設定を変更するか、他のプリンタに変更してください。";
const wchar_t* const kNothingSelected = L"プリンタが選択されていません。\nプリンタを選択してください。";

void InsertColumn(HWND list, int index, const wchar_t* header, int width)
{
    std::wstring text = header;
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = text.data();
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

}  // namespace

CPrinterSelectDlg::CPrinterSelectDlg() : CDialog(IDD_PRINTER_SELECT)
{
    MapNotify(IDC_PRINTER_LIST, NM_DBLCLK, &CPrinterSelectDlg::OnListDoubleClick);
}

BOOL CPrinterSelectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HWND list = List();
    InsertColumn(list, 0, L"プリンタ名", 200);
    InsertColumn(list, 1, L"接続先", 90);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    for (const qv::ListedPrinter& printer :
         qv::FindEligiblePrinters(CurrentSpooler(), CurrentPlatform().IsNtFamily()))
        AddPrinter(printer);
    printerCount = static_cast<unsigned>(ListView_GetItemCount(list));
    if (printerCount == 0) {
        EndProgram(kNoPrinter);
        return TRUE;
    }

    const int initial = InitialItem();
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, initial, state, state);
    ListView_EnsureVisible(list, initial, FALSE);

    if (printerCount == 1 && atStartup) {
        OnOK();  // a single printer is taken without asking
        return TRUE;
    }
    for (unsigned i = 0; i < printerCount; ++i)
        if (ItemText(static_cast<int>(i), 1) != qv::kFilePort)
            return TRUE;
    EndProgram(kAllOnFile);
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
    // The text has no fixed limit: grow the buffer until it fits.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        LVITEMW request{};
        request.iSubItem = column;
        request.pszText = buffer.data();
        request.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<std::size_t>(::SendMessageW(
            List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request)));
        if (length + 1 < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

int CPrinterSelectDlg::SelectedItem() const { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }

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
        ShowMessageBox(m_hWnd, kNothingSelected, kCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    printerName = ItemText(selected, 0);
    portName = ItemText(selected, 1);
    if (portName != qv::kFilePort) {
        EndDialog(IDOK);
        return;
    }
    if (ListView_GetItemCount(List()) == 1) {
        EndProgram(kOnlyOnFile);
        return;
    }
    ShowMessageBox(m_hWnd, kChooseAnother, kCaption, MB_OK | MB_ICONINFORMATION);
}

void CPrinterSelectDlg::OnListDoubleClick()
{
    if (SelectedItem() >= 0)
        OnOK();
}

void CPrinterSelectDlg::EndProgram(const wchar_t* message)
{
    ShowMessageBox(m_hWnd, message, kCaption, MB_OK | MB_ICONEXCLAMATION);
    EndProcessNow(1);
    EndDialog(IDCANCEL);
}
