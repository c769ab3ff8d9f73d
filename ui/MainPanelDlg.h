// The panel's main window: menu, toolbar, tab control over the six pages,
// status bar, and the three copies of the settings.
#pragma once

#include <array>
#include <string>

#include "IconMenu.h"
#include "PanelToolBar.h"
#include "Page_MSW1.h"
#include "Page_MSW2.h"
#include "Page_MSW3.h"
#include "Page_MSW4.h"
#include "Page_Param.h"
#include "Page_Select.h"
#include "core/PanelState.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "printer/PrinterSelectDlg.h"

class CMainPanelDlg : public CDialog {
public:
    static constexpr int kPageCount = 6;

    CMainPanelDlg();

    // Panel state (public for the tests that inspect it).
    qv::SettingsBlock workingBlock = qv::FactoryDefaults;
    qv::SettingsBlock savedBlock = qv::FactoryDefaults;
    qv::SettingsBlock sentBlock = qv::FactoryDefaults;
    std::wstring printerName;
    std::wstring portName;
    bool helpIsHtml = true;
    std::wstring helpPath;

    // Holds the popups and their records; the bar belongs to the window.
    CIconMenu menu;
    CPrinterSelectDlg printerDlg;  // carries startupComplete
    CPage_MSW1 pageMsw1;
    CPage_MSW2 pageMsw2;
    CPage_MSW3 pageMsw3;
    CPage_MSW4 pageMsw4;
    CPage_Select pageSelect;
    CPage_Param pageParam;
    CPanelToolBar toolbar;
    HWND statusBar = nullptr;

    bool HasUnsentChanges() const { return workingBlock != sentBlock; }
    bool HasUnsavedChanges() const { return workingBlock != savedBlock; }
    bool IsSaved() const { return !HasUnsavedChanges(); }
    void DistributeToPages(qv::SettingsBlock& block);
    void CollectFromPages(qv::SettingsBlock& block);
    void SelectPage(int index);
    int CurrentTab() const;
    CSettingsPage& PageOfTab(int index);

    void OnDataCheck();
    void OnShowFactoryDefaults();
    void ApplyFactoryDefaults();
    // False when the parameter page holds an entry awaiting correction: it
    // is then shown and corrected, and the asking command must stop.
    bool PassPendingGate();

    void EnableSendCommand(bool enable);
    bool IsCommandEnabled(UINT menuId) const;
    void SetStatusTexts(const std::wstring& printer, const std::wstring& port);

    // Commands that other windows and the tests call.
    void ReadSettingsFile();
    void WriteSettingsFile();
    void SendSettings();
    void SelectPrinter();
    void ConfirmExit();
    void ShowHelp();
    void LocateHelpFile();

    // Right edge of the status bar's first part for a bar width in pixels.
    static int StatusSplit(int width) { return static_cast<int>((width / 10) * 6.5); }
    static HACCEL Accelerators();
    static void UpdateSystemMenu(HWND hwnd);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    bool PreTranslateMessage(MSG& msg) override;

private:
    void CreateMenuBar();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateTabsAndPages();
    void OnTabSelChange();
    void OnAbout();
    void ShowPage(int index);
    // False when the question was cancelled, the offered command stopped at
    // its gate, or `succeeded` (when given) says the command did not happen.
    bool OfferCommandFirst(const wchar_t* question, void (CMainPanelDlg::*command)(),
                           bool (CMainPanelDlg::*succeeded)() const = nullptr);
    std::optional<LRESULT> OnSysCommand(WPARAM, LPARAM);
    std::optional<LRESULT> OnSize(WPARAM, LPARAM);
    std::optional<LRESULT> OnPaint(WPARAM, LPARAM);
    std::optional<LRESULT> OnQueryDragIcon(WPARAM, LPARAM);
    std::optional<LRESULT> OnMenuChar(WPARAM, LPARAM);
    std::optional<LRESULT> OnMeasureItem(WPARAM, LPARAM);
    std::optional<LRESULT> OnDrawItem(WPARAM, LPARAM);
    std::optional<LRESULT> OnDestroy(WPARAM, LPARAM);
    // The open or save-as dialog for settings files; nothing when cancelled.
    std::optional<std::wstring> AskSettingsFileName(bool save);
    // HtmlHelpW with no owner, or nothing when the viewer is missing.
    static HWND CallHtmlHelp(const wchar_t* path, UINT command);

    HICON icon_ = nullptr;  // shared resource icon, not destroyed
    UniqueImageList tabImages_;
};
