#include "HelpViewer.h"

#include <htmlhelp.h>

#include "core/Platform.h"
#include "framework/Seams.h"
#include "framework/SystemLibrary.h"
#include "framework/Text.h"

bool CHelpViewer::Locate()
{
    const qv::HelpChoice choice = qv::ChooseHelpFile(CurrentPlatform());
    isHtml_ = choice.isHtml;
    path_ = ModuleFolder() + Widen(choice.fileName);
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(path_.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(search);
    return true;
}

bool CHelpViewer::ShowContents() const
{
    return isHtml_ ? CallHtmlHelp(path_.c_str(), HH_DISPLAY_TOPIC) != nullptr
                   : ::WinHelpW(nullptr, path_.c_str(), HELP_FINDER, 0) != FALSE;
}

void CHelpViewer::CloseAll(HWND owner) const
{
    ::WinHelpW(owner, path_.c_str(), HELP_QUIT, 0);
    // Only a viewer that was started has windows to close.
    if (::GetModuleHandleW(L"hhctrl.ocx"))
        CallHtmlHelp(nullptr, HH_CLOSE_ALL);
}

HWND CHelpViewer::CallHtmlHelp(const wchar_t* path, UINT command)
{
    // The viewer is looked up at run time: a system without it still runs.
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static const HMODULE viewer = LoadSystemLibrary(L"hhctrl.ocx");
    const auto fn =
        viewer ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(::GetProcAddress(viewer, "HtmlHelpW")))
               : nullptr;
    return fn ? fn(nullptr, path, command, 0) : nullptr;
}
