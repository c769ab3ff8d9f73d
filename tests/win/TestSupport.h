// Helpers for the Windows tests: recorded message boxes and file dialogs,
// and modal runs driven from inside.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Seams.h"

// Records every message box and answers from a queue (IDOK when empty).
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    void Answer(int result) { answers_.push_back(result); }
    // Runs while the message box would be open (e.g. to look at the focus).
    void OnShow(std::function<void(const MessageBoxCall&)> fn) { onShow_ = std::move(fn); }
    const std::vector<MessageBoxCall>& Calls() const { return calls_; }
    std::vector<std::wstring> Texts() const;
    void Clear() { calls_.clear(); }

private:
    std::vector<MessageBoxCall> calls_;
    std::deque<int> answers_;
    std::function<void(const MessageBoxCall&)> onShow_;
};

// Answers file dialogs from a queue of paths (nothing = cancel).
class FileDialogRecorder {
public:
    FileDialogRecorder();
    ~FileDialogRecorder();
    void Answer(std::optional<std::wstring> path) { answers_.push_back(std::move(path)); }
    const std::vector<FileDialogRequest>& Requests() const { return requests_; }

private:
    std::vector<FileDialogRequest> requests_;
    std::deque<std::optional<std::wstring>> answers_;
};

// Records process-end requests instead of ending the test process.
class ProcessEndRecorder {
public:
    ProcessEndRecorder();
    ~ProcessEndRecorder();
    const std::vector<int>& Codes() const { return codes_; }

private:
    std::vector<int> codes_;
};

// Runs dialog modally; body runs once it is initialised, then the dialog is
// ended with IDOK unless body ended it already. Returns the modal result.
INT_PTR RunModal(CDialog& dialog, const std::function<void()>& body, HWND owner = nullptr);

// Feeds a key press to a window through the modal loop's own path.
void PressKey(CDialog& modal, HWND target, UINT vk, bool ctrl = false);

// Gives a control the keyboard focus and replaces its text as typing does.
void TypeText(CDialog& modal, HWND edit, const std::wstring& text);

// Ways text reaches an edit box: typed keys (WM_CHAR), characters from the
// IME (WM_IME_CHAR), the clipboard (WM_PASTE), or a program (EM_REPLACESEL).
enum class Entry { Keys, ImeChars, Paste, Replace };

// Gives the box the focus, selects its whole text, then enters `text` the
// chosen way.
void EnterText(CDialog& modal, HWND box, Entry how, const std::wstring& text);

// The Japanese test strings are UTF-8 in the sources.
std::wstring W(const char* utf8);
// Texts already wide (from the string table) pass unchanged.
inline const std::wstring& W(const std::wstring& wide) { return wide; }
