// The main window as the tests see it: its state, pages and parts under the
// names the tests use. The one door for tests into CMainPanelDlg.
#pragma once

#include "ui/MainPanelDlg.h"

class PanelUnderTest : public CMainPanelDlg {
public:
    using CMainPanelDlg::CollectFromPages;
    using CMainPanelDlg::DistributeToPages;
    using CMainPanelDlg::EnableSendCommand;
    using CMainPanelDlg::OnDataCheck;
    using CMainPanelDlg::PageOfTab;
    using CMainPanelDlg::PassPendingGate;

    // Shows every page once and comes back to the first, as an operator who
    // has looked at each page: a page gets its window when first shown.
    void OpenEveryPage()
    {
        for (int i = kPageCount - 1; i >= 0; --i)
            SelectPage(i);
    }

    bool HasUnsentChanges() const { return state_.HasUnsentChanges(); }
    bool HasUnsavedChanges() const { return state_.HasUnsavedChanges(); }
    bool HelpIsHtml() const { return help_.IsHtml(); }
    const std::wstring& HelpPath() const { return help_.Path(); }
    const CIconMenu& Menu() const { return menuBar_.Menu(); }

    qv::PanelValues& values{values_};
    qv::SettingsBlock& workingBlock{state_.workingBlock};
    qv::SettingsBlock& savedBlock{state_.savedBlock};
    qv::SettingsBlock& sentBlock{state_.sentBlock};
    std::wstring& printerName{printerName_};
    std::wstring& portName{portName_};
    std::optional<std::wstring>& lastFile{lastFile_};
    bool& startupComplete{startupComplete_};
    CPrinterSelectDlg& printerDlg{printerDlg_};
    CPage_Select& pageSelect{pageSelect_};
    CPage_Param& pageParam{pageParam_};
    CPage_MSW1& pageMsw1{pageMsw1_};
    CPage_MSW2& pageMsw2{pageMsw2_};
    CPage_MSW3& pageMsw3{pageMsw3_};
    CPage_MSW4& pageMsw4{pageMsw4_};
    CPanelToolBar& toolbar{toolbar_};
    HWND& statusBar{statusBar_.m_hWnd};
};
