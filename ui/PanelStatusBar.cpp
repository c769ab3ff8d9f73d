#include "PanelStatusBar.h"

#include <commctrl.h>

#include "framework/Text.h"
#include "resource.h"

bool CPanelStatusBar::Create(HWND parent, UINT id)
{
    m_hWnd = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0,
                               parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                               ::GetModuleHandleW(nullptr), nullptr);
    Layout();
    return m_hWnd != nullptr;
}

void CPanelStatusBar::Layout() const
{
    SendMessage(WM_SIZE);
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    int parts[2] = {Split(rc.right - rc.left), -1};
    SendMessage(SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void CPanelStatusBar::SetTexts(const std::wstring& printer, const std::wstring& port) const
{
    const std::wstring part0 = FormatResString(IDS_STATUS_PRINTER, printer);
    const std::wstring part1 = FormatResString(IDS_STATUS_PORT, port);
    SendMessage(SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(part0.c_str()));
    SendMessage(SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(part1.c_str()));
}

void CPanelStatusBar::SetNote(const std::wstring& note) const
{
    SendMessage(SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(note.c_str()));
}
