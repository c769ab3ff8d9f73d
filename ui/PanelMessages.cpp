#include "PanelMessages.h"

#include "framework/DataExchange.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "resource.h"

const std::wstring& PanelCaption()
{
    static const std::wstring caption = LoadResString(IDS_CAPTION);
    return caption;
}

int ShowPanelMessage(HWND owner, UINT text, UINT type)
{
    return ShowMessageBox(owner, LoadResString(text), PanelCaption(), type);
}

void InstallValidationMessages()
{
    SetDataValidateErrorHandler([](HWND dialog, const std::wstring& message) {
        ShowMessageBox(dialog, message, PanelCaption(), MB_OK | MB_ICONEXCLAMATION);
    });
}
