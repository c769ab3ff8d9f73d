// The yardstick for the panel's start: creates the panel's own dialog
// templates (the main window and its six pages, as child dialogs) with a
// dialog procedure that does nothing, shows the main one and waits. With
// the argument "minimal" it shows one empty dialog built in memory instead.
// bench_startup times it beside the panel.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "resource.h"

namespace {

INT_PTR CALLBACK TrivialProc(HWND, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_CLOSE)
        ::PostQuitMessage(0);
    return msg == WM_INITDIALOG || msg == WM_CLOSE;
}

HWND CreateTemplates(HINSTANCE instance)
{
    const HWND main = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, TrivialProc, 0);
    if (!main)
        return nullptr;
    const UINT pages[] = {IDD_PAGE_SELECT, IDD_PAGE_PARAM, IDD_PAGE_MSW1,
                          IDD_PAGE_MSW2,   IDD_PAGE_MSW3,  IDD_PAGE_MSW4};
    bool first = true;
    for (const UINT page : pages) {
        const HWND child = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(page), main, TrivialProc, 0);
        if (!child)
            return nullptr;
        ::ShowWindow(child, first ? SW_SHOW : SW_HIDE);
        first = false;
    }
    return main;
}

// An empty captioned dialog: the least a dialog-based program can show.
HWND CreateMinimal(HINSTANCE instance)
{
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } minimal{};
    minimal.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    minimal.header.cx = 245;
    minimal.header.cy = 255;
    return ::CreateDialogIndirectParamW(instance, &minimal.header, nullptr, TrivialProc, 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                             ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    const bool minimal = commandLine && std::wcscmp(commandLine, L"minimal") == 0;
    const HWND main = minimal ? CreateMinimal(instance) : CreateTemplates(instance);
    if (!main)
        return 1;
    ::ShowWindow(main, SW_SHOW);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageW(main, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
