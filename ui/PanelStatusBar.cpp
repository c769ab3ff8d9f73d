#include "PanelStatusBar.h"

#include <commctrl.h>

#include "framework/Text.h"
#include "resource.h"

namespace {
enum Part { kPrinterPart, kPortPart, kPartCount };
constexpr int kToRightEdge = -1;  // a part's right edge at the bar's end
}  // namespace

CPanelStatusBar::Busy::Busy(CPanelStatusBar& bar, const std::wstring& text)
    : bar_(bar), cursor_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)))
{
    bar_.SetPart(kPrinterPart, text);
    // Drawn now: the window's thread is held until the scope ends.
    ::UpdateWindow(bar_.m_hWnd);
}

CPanelStatusBar::Busy::~Busy()
{
    bar_.SetPart(kPrinterPart, bar_.printerText_);
    ::SetCursor(cursor_);
}

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

void CPanelStatusBar::SetTexts(const std::wstring& printer, const std::wstring& port)
{
    printerText_ = FormatResString(IDS_STATUS_PRINTER, printer);
    SetPart(kPrinterPart, printerText_);
    SetPart(kPortPart, FormatResString(IDS_STATUS_PORT, port));
}

void CPanelStatusBar::SetPart(int part, const std::wstring& text) const
{
    SendMessage(SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void CPanelStatusBar::SetNote(const std::wstring& note)
{
    // Kept as the part's text, so that the end of a busy scope shows it again.
    printerText_ = note;
    SetPart(kPrinterPart, note);
}
