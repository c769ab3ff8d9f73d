// The program's doors to the outside world that tests replace: message
// boxes, file dialogs, the immediate process end and the platform value.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <windows.h>

#include "core/Platform.h"

struct MessageBoxCall {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;  // MB_ buttons | icon
};
using MessageBoxResponder = std::function<int(const MessageBoxCall&)>;

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
// An empty responder restores the real message box.
void SetMessageBoxResponder(MessageBoxResponder responder);

struct FileDialogRequest {
    HWND owner;
    bool save;                // save-as dialog, else open dialog
    std::wstring filter;      // "description|pattern||"
    std::wstring defaultExt;  // without the dot
    std::wstring initialName;
    std::wstring initialDir;
};
using FileDialogResponder = std::function<std::optional<std::wstring>(const FileDialogRequest&)>;

// The chosen path, or nothing when the user cancelled.
std::optional<std::wstring> ShowFileDialog(const FileDialogRequest& request);
void SetFileDialogResponder(FileDialogResponder responder);

// Ends the process at once with the code. A test handler may return; callers
// then carry on as if the dialog that asked had been cancelled.
void EndProcessNow(int exitCode);
void SetProcessEndHandler(std::function<void(int)> handler);

const qv::PlatformInfo& CurrentPlatform();
void SetCurrentPlatform(const qv::PlatformInfo& platform);
