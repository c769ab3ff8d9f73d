// The few list view (report view) calls the dialogs make, over the
// control's own messages.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

// A width of `units` dialog units in pixels of `dialog` (its font and DPI).
int DialogUnitsWide(HWND dialog, int units);
// A left-aligned column of `width` pixels at `index`.
void InsertListColumn(HWND list, int index, const std::wstring& header, int width);
// A row at the end: the item's text, then one text per further column.
// The row's index, or -1 when the control refused it.
int AppendListRow(HWND list, const std::vector<std::wstring>& texts);
// Each column as wide as its widest text and its header, and at least as
// wide as it was, so that no cell is cut.
void FitListColumns(HWND list);
// The text of one cell, however long.
std::wstring ListItemText(HWND list, int item, int column);
// The first selected row, or -1.
int SelectedListItem(HWND list);
// Selects and focuses one row and scrolls it into view.
void SelectListItem(HWND list, int item);
