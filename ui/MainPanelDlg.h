// The panel's main window: menu, toolbar, tab control over the six pages,
// status bar, the panel's values and its three copies of the settings.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "HelpViewer.h"
#include "PageTabs.h"
#include "Page_MSW1.h"
#include "Page_MSW2.h"
#include "Page_MSW3.h"
#include "Page_MSW4.h"
#include "Page_Param.h"
#include "Page_Select.h"
#include "PanelMenuBar.h"
#include "PanelStatusBar.h"
#include "PanelToolBar.h"
#include "core/PanelState.h"
#include "core/PanelValues.h"
#include "core/SendOutcome.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "printer/PrinterSelectDlg.h"

class CMainPanelDlg : public CDialog {
public:
    static constexpr int kPageCount = CPageTabs::kCount;

    CMainPanelDlg();

    // The commands, as the menu, the toolbar and the accelerators run them.
    void ReadSettingsFile();
    void WriteSettingsFile();
    // False when the send failed; the printer switch has then followed.
    bool SendSettings();
    void SelectPrinter();
    void ConfirmExit();
    void ShowSendHistory();
    void ReviewChanges();

    void SelectPage(int index) { tabs_.Select(index); }
    int CurrentTab() const { return tabs_.Current(); }
    bool IsCommandEnabled(UINT menuId) const;

    static HACCEL Accelerators();
    static void UpdateSystemMenu(HWND hwnd);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    bool PreTranslateMessage(MSG& msg) override;

    // The parts below are open to tests through a subclass, and to nothing else.
    void DistributeToPages(qv::SettingsBlock& block);
    void CollectFromPages(qv::SettingsBlock& block);
    void OnDataCheck();
    void EnableSendCommand(bool enable);
    // False when the parameter page holds an entry awaiting correction: it
    // is then shown and corrected, and the asking command must stop.
    bool PassPendingGate();
    CSettingsPage& PageOfTab(int index) { return tabs_.Page(index); }

    qv::PanelState state_;
    qv::PanelValues values_;  // every page's values, shown by the pages
    std::wstring printerName_;
    std::wstring portName_;
    std::optional<std::wstring> lastFile_;  // the settings file last loaded or saved
    bool startupComplete_ = false;
    CHelpViewer help_;
    CPanelMenuBar menuBar_;
    CPrinterSelectDlg printerDlg_;
    CPage_Select pageSelect_{values_.select, values_.forms};
    CPage_Param pageParam_{values_.param};
    CPage_MSW1 pageMsw1_{values_.msw1};
    CPage_MSW2 pageMsw2_{values_.msw2};
    CPage_MSW3 pageMsw3_{values_.msw3};
    CPage_MSW4 pageMsw4_{values_.msw4};
    CPanelToolBar toolbar_;
    CPanelStatusBar statusBar_;

private:
    // How far a send got: Sent also covers a job left waiting in the queue.
    enum class SendStep { Sent, Failed, Stopped };

    void OnShowFactoryDefaults();
    void ApplyFactoryDefaults();
    void ShowHelp();
    void OnAbout();
    // One send of the working copy, with its messages.
    SendStep SendOnce();
    // The question before other settings replace the panel's; true to go on.
    bool MayReplaceSettings();
    // Settings that replace the panel's as a load does: shown, and saved as
    // far as the change tests go. `file` is where they came from, if a file.
    void EnterSettings(const qv::SettingsBlock& block, const std::optional<std::wstring>& file);
    // The printer selection dialog and what its choice changes.
    void ChoosePrinter();
    // Asks a Yes/No/Cancel question; Yes runs the command. False when the
    // asking operation must stop: cancelled, stopped at the pending-entry
    // gate, or the command says it did not happen.
    bool OfferFirst(UINT question, const std::function<bool()>& command);
    // The save that a question offered; true when it happened.
    bool SaveAsked();
    std::optional<LRESULT> OnSysCommand(WPARAM, LPARAM);
    std::optional<LRESULT> OnSize(WPARAM, LPARAM);
    std::optional<LRESULT> OnPaint(WPARAM, LPARAM);
    std::optional<LRESULT> OnQueryDragIcon(WPARAM, LPARAM);
    std::optional<LRESULT> OnDestroy(WPARAM, LPARAM);
    std::optional<LRESULT> OnDpiChanged(WPARAM, LPARAM);
    void SetWindowIcons(UINT dpi);
    // A message of the string table with the panel's caption; MB_ buttons
    // (OK when none) and icon in `type`.
    int ShowMessage(UINT text, UINT type) const;

    CPageTabs tabs_{{&pageSelect_, &pageParam_, &pageMsw1_, &pageMsw2_, &pageMsw3_, &pageMsw4_}};
    HICON icon_ = nullptr;  // shared resource icon, not destroyed
    UniqueIcon bigIcon_;    // the title bar's icons at the window's DPI
    UniqueIcon smallIcon_;
};
