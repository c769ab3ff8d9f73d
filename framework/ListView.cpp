#include "ListView.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "Dpi.h"
#include "Gdi.h"

int DialogUnitsWide(HWND dialog, int units)
{
    RECT rc{0, 0, units, 0};
    ::MapDialogRect(dialog, &rc);
    return rc.right;
}

void InsertListColumn(HWND list, int index, const std::wstring& header, int width)
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

int AppendListRow(HWND list, const std::vector<std::wstring>& texts)
{
    if (texts.empty())
        return -1;
    std::wstring first = texts[0];
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = first.data();
    const int index = ListView_InsertItem(list, &item);
    if (index < 0)
        return -1;
    for (std::size_t column = 1; column < texts.size(); ++column) {
        std::wstring text = texts[column];
        ListView_SetItemText(list, index, static_cast<int>(column), text.data());
    }
    return index;
}

namespace {

// The header's text in the header's own font, with the margins it draws
// around it (three edges on either side).
int HeaderTextWidth(HWND list, int column)
{
    const HWND header = ListView_GetHeader(list);
    std::vector<wchar_t> text(256);
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    Header_GetItem(header, column, &item);
    const WindowDc dc(header);
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(header, WM_GETFONT, 0, 0)));
    return TextSize(dc.get(), text.data()).cx + 6 * SystemMetricForDpi(SM_CXEDGE, WindowDpi(list));
}

}  // namespace

void FitListColumns(HWND list)
{
    const int columns = Header_GetItemCount(ListView_GetHeader(list));
    for (int i = 0; i < columns; ++i) {
        const int least = std::max(ListView_GetColumnWidth(list, i), HeaderTextWidth(list, i));
        ListView_SetColumnWidth(list, i, LVSCW_AUTOSIZE);
        ListView_SetColumnWidth(list, i, std::max(least, ListView_GetColumnWidth(list, i)));
    }
}

std::wstring ListItemText(HWND list, int item, int column)
{
    // The text has no fixed limit: grow the buffer until it fits.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        LVITEMW request{};
        request.iSubItem = column;
        request.pszText = buffer.data();
        request.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<std::size_t>(::SendMessageW(
            list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request)));
        if (length + 1 < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

int SelectedListItem(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

void SelectListItem(HWND list, int item)
{
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, item, state, state);
    ListView_EnsureVisible(list, item, FALSE);
}
