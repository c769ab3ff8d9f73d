#include "Seams.h"

#include <commdlg.h>

#include <vector>

namespace {
MessageBoxResponder g_messageBoxResponder;
FileDialogResponder g_fileDialogResponder;
std::function<void(int)> g_processEndHandler;
std::optional<qv::PlatformInfo> g_platform;

qv::PlatformInfo ReadPlatform()
{
    // GetVersionEx is deprecated but still the one call that reports the
    // platform family; newer systems report at least 6.2, which is enough here.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
    return {static_cast<int>(info.dwPlatformId), static_cast<int>(info.dwMajorVersion),
            static_cast<int>(info.dwMinorVersion)};
}
}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    if (g_messageBoxResponder)
        return g_messageBoxResponder({owner, text, caption, type});
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void SetMessageBoxResponder(MessageBoxResponder responder) { g_messageBoxResponder = std::move(responder); }

std::optional<std::wstring> ShowFileDialog(const FileDialogRequest& r)
{
    if (g_fileDialogResponder)
        return g_fileDialogResponder(r);

    std::wstring filter = r.filter;  // bars separate the parts, as resource texts write them
    for (auto& c : filter)
        if (c == L'|')
            c = L'\0';
    std::vector<wchar_t> file(32768, L'\0');
    r.initialName.copy(file.data(), std::min(r.initialName.size(), file.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = r.owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = r.initialDir.c_str();
    ofn.lpstrDefExt = r.defaultExt.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR |
                (r.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL ok = r.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok)
        return std::nullopt;
    return std::wstring(file.data());
}

void SetFileDialogResponder(FileDialogResponder responder) { g_fileDialogResponder = std::move(responder); }

void EndProcessNow(int exitCode)
{
    if (g_processEndHandler) {
        g_processEndHandler(exitCode);
        return;
    }
    ExitProcess(static_cast<UINT>(exitCode));
}

void SetProcessEndHandler(std::function<void(int)> handler) { g_processEndHandler = std::move(handler); }

const qv::PlatformInfo& CurrentPlatform()
{
    if (!g_platform)
        g_platform = ReadPlatform();
    return *g_platform;
}

void SetCurrentPlatform(const qv::PlatformInfo& platform) { g_platform = platform; }
