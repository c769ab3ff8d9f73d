#include "PanelApp.h"

#include <windows.h>
#include <commctrl.h>

#include "ui/MainPanelDlg.h"

int CPanelApp::Run()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                             ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    CMainPanelDlg mainWindow;
    mainWindow.DoModal(nullptr);
    return 0;
}
