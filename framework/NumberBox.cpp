#include "NumberBox.h"

#include <algorithm>

#include <commctrl.h>
#include <imm.h>

namespace {

constexpr UINT_PTR kSubclassId = 0x4E42;  // "NB"
constexpr wchar_t kFullWidthZero = 0xFF10;
constexpr wchar_t kFullWidthNine = 0xFF19;

bool IsFullWidthDigit(WPARAM c) { return c >= kFullWidthZero && c <= kFullWidthNine; }

wchar_t AsciiDigit(wchar_t c)
{
    return IsFullWidthDigit(c) ? static_cast<wchar_t>(L'0' + (c - kFullWidthZero)) : c;
}

std::wstring ClipboardText(HWND owner)
{
    std::wstring text;
    if (!::OpenClipboard(owner))
        return text;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT))
        text = ClipboardBlockText(data);
    ::CloseClipboard();
    return text;
}

// Every way text enters the box passes here, so the box never holds a
// full-width digit: the edit control's own digit filter would refuse a
// typed one, and the program's number rules would read none.
LRESULT CALLBACK NumberBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (msg) {
    case WM_CHAR:
    case WM_IME_CHAR:
        if (IsFullWidthDigit(wParam))
            return ::DefSubclassProc(box, WM_CHAR, AsciiDigit(static_cast<wchar_t>(wParam)), lParam);
        break;
    case WM_SETTEXT:
    case EM_REPLACESEL:
        if (lParam) {
            const std::wstring text = ToAsciiDigits(reinterpret_cast<const wchar_t*>(lParam));
            return ::DefSubclassProc(box, msg, wParam, reinterpret_cast<LPARAM>(text.c_str()));
        }
        break;
    case WM_PASTE: {
        if (::GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY)
            return 0;
        const std::wstring text = ToAsciiDigits(ClipboardText(box));
        if (!text.empty())
            ::DefSubclassProc(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        return 0;
    }
    case WM_NCDESTROY: ::RemoveWindowSubclass(box, NumberBoxProc, kSubclassId); break;
    }
    return ::DefSubclassProc(box, msg, wParam, lParam);
}

}  // namespace

std::wstring ClipboardBlockText(HANDLE block)
{
    std::wstring text;
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(block))) {
        const std::size_t capacity = ::GlobalSize(block) / sizeof(wchar_t);
        text.assign(chars, std::find(chars, chars + capacity, L'\0'));
        ::GlobalUnlock(block);
    }
    return text;
}

std::wstring ToAsciiDigits(std::wstring text)
{
    for (wchar_t& c : text)
        c = AsciiDigit(c);
    return text;
}

void AttachNumberBox(HWND box)
{
    if (!box)
        return;
    ::SetWindowSubclass(box, NumberBoxProc, kSubclassId, 0);
    // No input context: the IME is off whenever this box has the focus and
    // back as it was in every other window.
    ::ImmAssociateContextEx(box, nullptr, 0);
}

void SetCorrectedNumber(HWND box, const std::wstring& text)
{
    ::SetWindowTextW(box, text.c_str());
    if (::GetFocus() == box)
        ::SendMessageW(box, EM_SETSEL, 0, -1);
}
