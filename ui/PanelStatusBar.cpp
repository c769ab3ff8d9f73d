#include "PanelStatusBar.h"

#include <commctrl.h>

#include "framework/Text.h"
#include "resource.h"

namespace {
enum Part { kPrinterPart, kPortPart, kPartCount };
constexpr int kToRightEdge = -1;  // a part's right edge at the bar's end
}  // namespace

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
    int parts[kPartCount] = {Split(rc.right - rc.left), kToRightEdge};
    SendMessage(SB_SETPARTS, kPartCount, reinterpret_cast<LPARAM>(parts));
}

void CPanelStatusBar::SetTexts(const std::wstring& printer, const std::wstring& port) const
{
    const std::wstring part0 = FormatResString(IDS_STATUS_PRINTER, printer);
    const std::wstring part1 = FormatResString(IDS_STATUS_PORT, port);
    SendMessage(SB_SETTEXTW, kPrinterPart, reinterpret_cast<LPARAM>(part0.c_str()));
    SendMessage(SB_SETTEXTW, kPortPart, reinterpret_cast<LPARAM>(part1.c_str()));
}
