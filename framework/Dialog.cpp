#include "Dialog.h"

#include <deque>
#include <utility>

#include "DataExchange.h"

namespace {
std::deque<CDialog::ModalScript> g_modalScripts;
constexpr UINT kRunModalScript = WM_APP + 0x3F0;
}  // namespace

CDialog::~CDialog()
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    // Cut the window loose first: the messages that destruction sends must
    // not reach handlers of an object that is going away.
    ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
    ::DestroyWindow(std::exchange(m_hWnd, nullptr));
}

void CDialog::QueueModalScript(ModalScript script) { g_modalScripts.push_back(std::move(script)); }
void CDialog::ClearModalScripts() { g_modalScripts.clear(); }

INT_PTR CDialog::DoModal(HWND owner)
{
    modal_ = true;
    ending_ = false;
    result_ = IDCANCEL;
    const bool ownerEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerEnabled)
        ::EnableWindow(owner, FALSE);

    const HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                                           DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd) {
        if (ownerEnabled)
            ::EnableWindow(owner, TRUE);
        modal_ = false;
        return -1;
    }
    if (!ending_) {
        ::ShowWindow(hwnd, SW_SHOW);
        if (!g_modalScripts.empty())
            ::PostMessageW(hwnd, kRunModalScript, 0, 0);
    }

    MSG msg;
    while (!ending_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchModalMessage(msg);
    }

    // Re-enable the owner before the dialog goes, so activation returns to it.
    if (ownerEnabled)
        ::EnableWindow(owner, TRUE);
    if (::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
    m_hWnd = nullptr;
    modal_ = false;
    return result_;
}

void CDialog::DispatchModalMessage(MSG& msg)
{
    if (PreTranslateMessage(msg) || (m_hWnd && ::IsDialogMessageW(m_hWnd, &msg)))
        return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void CDialog::PumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchModalMessage(msg);
    }
}

bool CDialog::Create(HWND parent)
{
    modal_ = false;
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                                DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result)
{
    result_ = result;
    ending_ = true;
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the modal loop
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(m_hWnd, saveAndValidate);
    const bool wasExchanging = exchanging_;
    exchanging_ = true;
    DoDataExchange(dx);
    exchanging_ = wasExchanging;
    return !dx.Failed();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    const INT_PTR handled = self->HandleMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return handled;
}

INT_PTR CDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kRunModalScript) {
        if (!g_modalScripts.empty()) {
            auto script = std::move(g_modalScripts.front());
            g_modalScripts.pop_front();
            script(*this);
        }
        return TRUE;
    }
    if (msg == WM_COMMAND)
        return RouteCommand(wParam, lParam);
    if (msg == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        const auto it = notifications_.find({static_cast<UINT>(hdr->idFrom), hdr->code});
        if (it == notifications_.end() || exchanging_)
            return FALSE;
        it->second();
        return TRUE;
    }
    const auto it = messages_.find(msg);
    if (it == messages_.end())
        return FALSE;
    const std::optional<LRESULT> result = it->second(wParam, lParam);
    if (!result)
        return FALSE;
    switch (msg) {
    // These messages return their result directly from a dialog procedure.
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON: return static_cast<INT_PTR>(*result);
    default: ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, *result); return TRUE;
    }
}

bool CDialog::RouteCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    const HWND control = reinterpret_cast<HWND>(lParam);

    // While the dialog moves data into its controls, their notifications
    // describe no user action.
    if (control && exchanging_)
        return true;
    if (OnCommandMessage(id, code, control))
        return true;
    if (control) {
        const auto it = notifications_.find({id, code});
        if (it != notifications_.end()) {
            it->second();
            return true;
        }
    } else {
        const auto it = commands_.find(id);
        if (it != commands_.end()) {
            it->second();
            return true;
        }
    }
    const bool child = (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_CHILD) != 0;
    if (!child && (id == IDOK || id == IDCANCEL) && (!control || code == BN_CLICKED)) {
        if (id == IDOK)
            OnOK();
        else
            OnCancel();
        return true;
    }
    // A plain command this child does not handle goes on to its parent.
    if (!control && child) {
        ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, wParam, lParam);
        return true;
    }
    return false;
}
