#include "TestSupport.h"

#include "framework/Text.h"

MessageBoxRecorder::MessageBoxRecorder()
{
    SetMessageBoxResponder([this](const MessageBoxCall& call) {
        calls_.push_back(call);
        if (onShow_)
            onShow_(call);
        if (answers_.empty())
            return IDOK;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxResponder(nullptr); }

std::vector<std::wstring> MessageBoxRecorder::Texts() const
{
    std::vector<std::wstring> texts;
    for (const auto& c : calls_)
        texts.push_back(c.text);
    return texts;
}

FileDialogRecorder::FileDialogRecorder()
{
    SetFileDialogResponder([this](const FileDialogRequest& request) -> std::optional<std::wstring> {
        requests_.push_back(request);
        if (answers_.empty())
            return std::nullopt;
        auto answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

FileDialogRecorder::~FileDialogRecorder() { SetFileDialogResponder(nullptr); }

ProcessEndRecorder::ProcessEndRecorder()
{
    SetProcessEndHandler([this](int code) { codes_.push_back(code); });
}

ProcessEndRecorder::~ProcessEndRecorder() { SetProcessEndHandler(nullptr); }

INT_PTR RunModal(CDialog& dialog, const std::function<void()>& body, HWND owner)
{
    CDialog::QueueModalScript([&](CDialog& d) {
        body();
        if (!d.IsModalEnding())
            d.EndDialog(IDOK);
    });
    const INT_PTR result = dialog.DoModal(owner);
    CDialog::ClearModalScripts();
    return result;
}

void PressKey(CDialog& modal, HWND target, UINT vk, bool ctrl)
{
    // The key state is what TranslateAccelerator and the dialog manager read.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    if (ctrl)
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageW(target, WM_KEYDOWN, vk, 1);
    ::PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
    modal.PumpPendingMessages();
    if (ctrl) {
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
        ::SetKeyboardState(keys);
    }
}

void TypeText(CDialog& modal, HWND edit, const std::wstring& text)
{
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    modal.PumpPendingMessages();
}

namespace {
void PutOnClipboard(const std::wstring& text)
{
    if (!::OpenClipboard(nullptr))
        return;
    ::EmptyClipboard();
    if (const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        auto* chars = static_cast<wchar_t*>(::GlobalLock(memory));
        text.copy(chars, text.size());
        chars[text.size()] = L'\0';
        ::GlobalUnlock(memory);
        if (!::SetClipboardData(CF_UNICODETEXT, memory))
            ::GlobalFree(memory);
    }
    ::CloseClipboard();
}
}  // namespace

void EnterText(CDialog& modal, HWND box, Entry how, const std::wstring& text)
{
    ::SetFocus(box);
    ::SendMessageW(box, EM_SETSEL, 0, -1);
    switch (how) {
    case Entry::Keys:
    case Entry::ImeChars:
        for (const wchar_t c : text)
            ::SendMessageW(box, how == Entry::Keys ? WM_CHAR : WM_IME_CHAR, c, 1);
        break;
    case Entry::Paste:
        PutOnClipboard(text);
        ::SendMessageW(box, WM_PASTE, 0, 0);
        break;
    case Entry::Replace:
        ::SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        break;
    }
    modal.PumpPendingMessages();
}

std::wstring W(const char* utf8) { return Widen(utf8); }
