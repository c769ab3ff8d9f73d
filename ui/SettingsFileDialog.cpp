#include "SettingsFileDialog.h"

#include "PanelMessages.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "resource.h"
#include "storage/SettingsFileWin32.h"

std::optional<std::wstring> AskSettingsFileName(HWND owner, bool save)
{
    return ShowFileDialog({owner, save, LoadResString(IDS_FILE_FILTER), L"dat", L"*.dat", ModuleFolder()});
}

std::optional<std::wstring> SaveSettingsAs(HWND owner, const qv::SettingsBlock& block)
{
    for (;;) {
        const auto path = AskSettingsFileName(owner, true);
        if (!path)
            return std::nullopt;
        const qv::FileWriteResult result = WriteSettingsFileWin32(*path, block);
        if (result == qv::FileWriteResult::Ok)
            return path;
        if (result != qv::FileWriteResult::AccessDenied || !CurrentPlatform().IsNtFamily()) {
            ShowPanelMessage(owner, IDS_WRITE_FAILED, MB_ICONSTOP);
            return std::nullopt;
        }
        ShowPanelMessage(owner, IDS_WRITE_DENIED, MB_ICONEXCLAMATION);
    }
}
