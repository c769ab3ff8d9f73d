#include "DataExchange.h"

#include <climits>
#include <cwctype>

#include <commctrl.h>

#include "Seams.h"
#include "Text.h"
#include "Window.h"

const wchar_t* const kParseIntMessage = L"整数を入力してください。";
const wchar_t* const kRangeIntMessageFormat = L"%1 から %2 までの整数を入力してください。";

namespace {
DataValidateErrorFn g_validateError;

std::wstring ComboEntryText(HWND list, LRESULT index)
{
    const LRESULT len = ::SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == CB_ERR)
        return {};
    std::wstring entry(static_cast<std::size_t>(len) + 1, L'\0');
    ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<std::size_t>(len));
    return entry;
}
}  // namespace

void SetDataValidateErrorHandler(DataValidateErrorFn handler) { g_validateError = std::move(handler); }

void CDataExchange::Fail(int id, const std::wstring& message)
{
    failed_ = true;
    if (g_validateError)
        g_validateError(dialog_, message);
    else
        ShowMessageBox(dialog_, message, {}, MB_OK | MB_ICONEXCLAMATION);
    const HWND control = Control(id);
    ::SetFocus(control);
    wchar_t cls[16] = {};
    ::GetClassNameW(control, cls, 16);
    if (::lstrcmpiW(cls, L"Edit") == 0)
        ::SendMessageW(control, EM_SETSEL, 0, -1);
}

bool ParseInt(const std::wstring& text, int& value)
{
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    const std::size_t digitsStart = i;
    long long v = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        v = v * 10 + (text[i++] - L'0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    if (i == digitsStart)
        return false;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    if (i != text.size())
        return false;
    v = negative ? -v : v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    value = static_cast<int>(v);
    return true;
}

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    if (!dx.Active())
        return;
    dx.lastEditId = id;
    if (!dx.Saving()) {
        ::SetWindowTextW(dx.Control(id), std::to_wstring(value).c_str());
        return;
    }
    int parsed = 0;
    if (!ParseInt(CWindow::GetWindowText(dx.Control(id)), parsed)) {
        dx.Fail(id, kParseIntMessage);
        return;
    }
    value = parsed;
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue)
{
    if (!dx.Active() || !dx.Saving() || (value >= minValue && value <= maxValue))
        return;
    std::wstring message = kRangeIntMessageFormat;
    message.replace(message.find(L"%1"), 2, std::to_wstring(minValue));
    message.replace(message.find(L"%2"), 2, std::to_wstring(maxValue));
    dx.Fail(dx.lastEditId, message);
}

void DDX_Radio(CDataExchange& dx, int firstId, int& index)
{
    if (!dx.Active())
        return;
    // The group runs from its first button to the next control with WS_GROUP.
    HWND button = dx.Control(firstId);
    int i = 0;
    if (dx.Saving())
        index = -1;
    while (button) {
        if (dx.Saving()) {
            if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                index = i;
        } else {
            ::SendMessageW(button, BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        button = ::GetWindow(button, GW_HWNDNEXT);
        if (!button || (::GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP))
            break;
        ++i;
    }
}

void DDX_Check(CDataExchange& dx, int id, int& state)
{
    if (!dx.Active())
        return;
    if (dx.Saving())
        state = ::SendMessageW(dx.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        ::SendMessageW(dx.Control(id), BM_SETCHECK, state == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_CBString(CDataExchange& dx, int id, std::string& text)
{
    if (!dx.Active())
        return;
    const HWND list = dx.Control(id);
    if (dx.Saving()) {
        const LRESULT sel = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (sel == CB_ERR) {
            text.clear();
            return;
        }
        text = Narrow(ComboEntryText(list, sel));
        return;
    }
    // Exact, case-sensitive match: the list's own search ignores case.
    const std::wstring wanted = Widen(text);
    const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
    LRESULT found = -1;
    for (LRESULT i = 0; i < count && found < 0; ++i)
        if (ComboEntryText(list, i) == wanted)
            found = i;
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void DDX_Slider(CDataExchange& dx, int id, int& position)
{
    if (!dx.Active())
        return;
    if (dx.Saving())
        position = static_cast<int>(::SendMessageW(dx.Control(id), TBM_GETPOS, 0, 0));
    else
        ::SendMessageW(dx.Control(id), TBM_SETPOS, TRUE, position);
}
