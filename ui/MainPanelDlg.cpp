#include "MainPanelDlg.h"

#include <commctrl.h>

#include <chrono>
#include <functional>

#include "PanelMessages.h"
#include "SendHistoryCommands.h"
#include "SendHistoryDlg.h"
#include "SettingsCompareDlg.h"
#include "SettingsFileDialog.h"
#include "core/SettingsFile.h"
#include "framework/Dpi.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "printer/SpoolerAccess.h"
#include "resource.h"

CMainPanelDlg::CMainPanelDlg() : CDialog(IDD_MAIN)
{
    icon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    Accelerators();

    MapCommand(ID_FILE_OPEN, &CMainPanelDlg::ReadSettingsFile);
    MapCommand(ID_FILE_SAVE, &CMainPanelDlg::WriteSettingsFile);
    MapCommand(ID_SEND, [this] { SendSettings(); });
    MapCommand(ID_FACTORY, &CMainPanelDlg::OnShowFactoryDefaults);
    MapCommand(ID_SELECT_PRINTER, &CMainPanelDlg::SelectPrinter);
    MapCommand(ID_SEND_HISTORY, &CMainPanelDlg::ShowSendHistory);
    MapCommand(ID_REVIEW_CHANGES, &CMainPanelDlg::ReviewChanges);
    MapCommand(ID_FILE_EXIT, &CMainPanelDlg::ConfirmExit);
    MapCommand(ID_HELP_CONTENTS, &CMainPanelDlg::ShowHelp);
    MapCommand(ID_APP_ABOUT, &CMainPanelDlg::OnAbout);
    MapCommand(ID_DATA_CHECK, &CMainPanelDlg::OnDataCheck);
    const UINT pageCommands[kPageCount] = {ID_PAGE_SELECT, ID_PAGE_PARAM, ID_PAGE_MSW1,
                                           ID_PAGE_MSW2,   ID_PAGE_MSW3,  ID_PAGE_MSW4};
    for (int i = 0; i < kPageCount; ++i)
        MapCommand(pageCommands[i], [this, i] { SelectPage(i); });

    // Toolbar buttons carry their own ids and reach the same handlers.
    MapNotify(ID_TB_OPEN, BN_CLICKED, [this] { ReadSettingsFile(); });
    MapNotify(ID_TB_SAVE, BN_CLICKED, [this] { WriteSettingsFile(); });
    MapNotify(ID_TB_SEND, BN_CLICKED, [this] { SendSettings(); });
    MapNotify(ID_TB_FACTORY, BN_CLICKED, [this] { OnShowFactoryDefaults(); });
    MapNotify(ID_TB_PRINTER, BN_CLICKED, [this] { SelectPrinter(); });
    MapNotify(ID_TB_HISTORY, BN_CLICKED, [this] { ShowSendHistory(); });
    MapNotify(IDC_TAB, TCN_SELCHANGE, [this] { tabs_.OnSelChange(); });

    MapMessage(WM_SYSCOMMAND, &CMainPanelDlg::OnSysCommand);
    MapMessage(WM_SIZE, &CMainPanelDlg::OnSize);
    MapMessage(WM_PAINT, &CMainPanelDlg::OnPaint);
    MapMessage(WM_QUERYDRAGICON, &CMainPanelDlg::OnQueryDragIcon);
    MapMessage(WM_MENUCHAR, [this](WPARAM w, LPARAM l) { return menuBar_.OnMenuChar(w, l); });
    MapMessage(WM_MEASUREITEM, [this](WPARAM, LPARAM l) { return menuBar_.OnMeasureItem(l); });
    MapMessage(WM_DRAWITEM, [this](WPARAM, LPARAM l) { return menuBar_.OnDrawItem(l); });
    MapMessage(WM_DESTROY, &CMainPanelDlg::OnDestroy);
    MapMessage(WM_DPICHANGED, &CMainPanelDlg::OnDpiChanged);
}

HACCEL CMainPanelDlg::Accelerators()
{
    // Loaded once and kept for the life of the process.
    static const HACCEL table =
        ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENU_MAIN));
    return table;
}

BOOL CMainPanelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    menuBar_.Attach(m_hWnd);
    if (!help_.Locate())
        ::EnableMenuItem(::GetMenu(m_hWnd), ID_HELP_CONTENTS, MF_BYCOMMAND | MF_GRAYED);
    SetWindowIcons(WindowDpi(m_hWnd));
    toolbar_.Create(m_hWnd, IDC_TOOLBAR, IDB_TOOLBAR);
    statusBar_.Create(m_hWnd, IDC_STATUSBAR);

    startupComplete_ = false;
    state_ = qv::PanelState{};
    EnableSendCommand(true);

    tabs_.Create(m_hWnd, GetDlgItem(IDC_TAB));
    DistributeToPages(state_.workingBlock);
    SelectPrinter();
    if (IsModalEnding())
        return TRUE;
    pageSelect_.UpdateFormButtonCaption();
    startupComplete_ = true;
    UpdateSystemMenu(m_hWnd);
    return TRUE;
}

void CMainPanelDlg::DistributeToPages(qv::SettingsBlock& block)
{
    values_.Load(block);
    tabs_.ShowValues();
}

void CMainPanelDlg::CollectFromPages(qv::SettingsBlock& block)
{
    tabs_.ReadValues();
    values_.Store(block);
}

void CMainPanelDlg::OnDataCheck()
{
    if (startupComplete_)
        CollectFromPages(state_.workingBlock);
    EnableSendCommand(true);
}

int CMainPanelDlg::ShowMessage(UINT text, UINT type) const { return ShowPanelMessage(m_hWnd, text, type); }

void CMainPanelDlg::OnShowFactoryDefaults()
{
    if (ShowMessage(IDS_ASK_FACTORY, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return;
    ApplyFactoryDefaults();
}

void CMainPanelDlg::ApplyFactoryDefaults()
{
    state_.workingBlock = qv::FactoryDefaults;
    DistributeToPages(state_.workingBlock);
    SelectPage(CPageTabs::kSelect);
    ShowMessage(IDS_FACTORY_SHOWN, MB_ICONINFORMATION);
    OnDataCheck();
    pageSelect_.UpdateFormButtonCaption();
}

bool CMainPanelDlg::PassPendingGate()
{
    if (!pageParam_.CentringCheckPending())
        return true;
    if (CurrentTab() != CPageTabs::kParam)
        SelectPage(CPageTabs::kParam);
    pageParam_.CorrectCentringValues();
    return false;
}

void CMainPanelDlg::EnableSendCommand(bool enable)
{
    ::EnableMenuItem(::GetMenu(m_hWnd), ID_SEND, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    toolbar_.EnableButton(ID_TB_SEND, enable);
}

bool CMainPanelDlg::IsCommandEnabled(UINT menuId) const
{
    const UINT state = ::GetMenuState(::GetMenu(m_hWnd), menuId, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

bool CMainPanelDlg::PreTranslateMessage(MSG& msg)
{
    if (const int step = CPageTabs::StepKey(msg); step != 0 && ::IsChild(m_hWnd, msg.hwnd)) {
        tabs_.Step(step);
        return true;
    }
    // Accelerators see every key first, whichever control has the focus, so
    // Ctrl+C never copies out of an edit box.
    return Accelerators() && ::TranslateAcceleratorW(m_hWnd, Accelerators(), &msg);
}

void CMainPanelDlg::SetWindowIcons(UINT dpi)
{
    // The icon's own image of each size, not a 16 or 32 pixel one stretched.
    const auto load = [](int size) {
        return UniqueIcon(
            static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                            IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    UniqueIcon big = load(ScaleForDpi(32, dpi));
    UniqueIcon small = load(ScaleForDpi(16, dpi));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big ? big.get() : icon_));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small.get() : icon_));
    // Held until replaced: the window only borrows them.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

std::optional<LRESULT> CMainPanelDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const UINT dpi = HIWORD(wParam);
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    ::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowIcons(dpi);
    menuBar_.SetDpi(dpi);
    toolbar_.SetDpi(dpi);
    tabs_.SetDpi(dpi);
    statusBar_.Layout();
    // The dialog manager scales the templates' fonts and controls itself.
    return std::nullopt;
}

void CMainPanelDlg::OnAbout()
{
    CDialog about(IDD_ABOUTBOX);
    about.DoModal(m_hWnd);
}

void CMainPanelDlg::ShowHelp()
{
    if (!help_.ShowContents())
        ShowMessage(IDS_NO_HELP, MB_ICONEXCLAMATION);
}

std::optional<LRESULT> CMainPanelDlg::OnSysCommand(WPARAM wParam, LPARAM)
{
    if (wParam == SC_CLOSE)
        ConfirmExit();
    return std::nullopt;  // the default only reaches the empty Cancel handler
}

std::optional<LRESULT> CMainPanelDlg::OnSize(WPARAM, LPARAM)
{
    UpdateSystemMenu(m_hWnd);
    return std::nullopt;
}

void CMainPanelDlg::UpdateSystemMenu(HWND hwnd)
{
    const HMENU menu = ::GetSystemMenu(hwnd, FALSE);
    const bool minimised = ::IsIconic(hwnd) != FALSE;
    ::EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
    ::EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
    ::EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (minimised ? MF_ENABLED : MF_GRAYED));
    ::EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (minimised ? MF_GRAYED : MF_ENABLED));
}

std::optional<LRESULT> CMainPanelDlg::OnPaint(WPARAM, LPARAM)
{
    if (!::IsIconic(m_hWnd))
        return std::nullopt;
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(m_hWnd, &ps);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon_);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

std::optional<LRESULT> CMainPanelDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(icon_);
}

std::optional<LRESULT> CMainPanelDlg::OnDestroy(WPARAM, LPARAM)
{
    help_.CloseAll(m_hWnd);
    return std::nullopt;
}

bool CMainPanelDlg::MayReplaceSettings()
{
    if (!startupComplete_)
        return true;
    CollectFromPages(state_.workingBlock);
    return !state_.HasUnsentChanges() || ShowMessage(IDS_ASK_DISCARD, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void CMainPanelDlg::EnterSettings(const qv::SettingsBlock& block, const std::optional<std::wstring>& file)
{
    state_.workingBlock = block;
    DistributeToPages(state_.workingBlock);
    state_.savedBlock = state_.workingBlock;
    lastFile_ = file;
    OnDataCheck();
    pageSelect_.UpdateFormButtonCaption();
}

void CMainPanelDlg::ReadSettingsFile()
{
    if (!MayReplaceSettings())
        return;
    const auto path = AskSettingsFileName(m_hWnd, false);
    if (!path)
        return;
    qv::SettingsBlock block{};
    if (qv::ReadSettingsFile(*path, block) != qv::FileReadResult::Ok) {
        ShowMessage(IDS_NOT_SETTINGS_FILE, MB_ICONEXCLAMATION);
        return;
    }
    EnterSettings(block, *path);
}

void CMainPanelDlg::WriteSettingsFile()
{
    if (!PassPendingGate())
        return;
    CollectFromPages(state_.workingBlock);
    if (const auto path = SaveSettingsAs(m_hWnd, state_.workingBlock)) {
        state_.savedBlock = state_.workingBlock;
        lastFile_ = *path;
    }
}

void CMainPanelDlg::ShowSendHistory()
{
    CollectFromPages(state_.workingBlock);
    CSendHistoryDlg history(printerName_, values_);
    // The record opened enters as a file would, but comes from no file.
    if (history.DoModal(m_hWnd) == IDOK && MayReplaceSettings())
        EnterSettings(history.Chosen(), std::nullopt);
}

void CMainPanelDlg::ReviewChanges()
{
    CollectFromPages(state_.workingBlock);
    CSettingsCompareDlg(ReviewBases(printerName_, lastFile_), values_).DoModal(m_hWnd);
}

bool CMainPanelDlg::SendSettings()
{
    // A failed send leads on to the printer switch.
    if (SendOnce() != SendStep::Failed)
        return true;
    SelectPrinter();
    return false;
}

CMainPanelDlg::SendStep CMainPanelDlg::SendOnce()
{
    if (!PassPendingGate())
        return SendStep::Stopped;
    if (printerName_.empty() || portName_.empty()) {
        ShowMessage(IDS_NO_PRINTER_SELECTED, MB_ICONEXCLAMATION);
        SelectPrinter();
        // A cancelled selection leaves no printer to send to.
        if (IsModalEnding() || printerName_.empty() || portName_.empty())
            return SendStep::Stopped;
    }
    if (portName_ == qv::kFilePort) {
        ShowMessage(IDS_PORT_IS_FILE, MB_ICONINFORMATION);
        return SendStep::Stopped;
    }
    CollectFromPages(state_.workingBlock);
    // The spooler follows the job for a while; the window is busy meanwhile.
    const qv::SendOutcome outcome = [this] {
        const CPanelStatusBar::Busy sending(statusBar_, LoadResString(IDS_STATUS_SENDING));
        return CurrentSpooler().SendRawJob(printerName_, qv::kJobName, state_.workingBlock,
                                           CurrentPlatform().IsNtFamily(), qv::kJobFollowTime);
    }();
    RecordPanelSend(statusBar_, printerName_, portName_, state_.workingBlock, outcome, lastFile_);
    if (outcome.delivery == qv::Delivery::Failed) {
        ShowMessage(IDS_SEND_FAILED, MB_ICONEXCLAMATION);
        return SendStep::Failed;
    }
    // A job the queue still holds goes on to the printer when it is ready.
    if (outcome.delivery == qv::Delivery::Delivered)
        ShowMessage(IDS_SENT, MB_ICONINFORMATION);
    else
        ShowMessageBox(m_hWnd, FormatResString(IDS_SEND_WAITING, Widen(outcome.reason)), PanelCaption(),
                       MB_OK | MB_ICONINFORMATION);
    state_.sentBlock = state_.workingBlock;
    EnableSendCommand(false);
    return SendStep::Sent;
}

bool CMainPanelDlg::OfferFirst(UINT question, const std::function<bool()>& command)
{
    const int answer = ShowMessage(question, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return false;
    if (answer != IDYES)
        return true;
    // A pending entry stops the command at its gate, and the asking
    // operation (printer switch or exit) with it.
    const bool pending = pageParam_.CentringCheckPending();
    const bool done = command();
    return !pending && done;
}

bool CMainPanelDlg::SaveAsked()
{
    // A save that did not happen (cancelled, failed) keeps the panel as it
    // is: leaving or switching printers would lose the edits.
    WriteSettingsFile();
    return !state_.HasUnsavedChanges();
}

void CMainPanelDlg::SelectPrinter()
{
    // A send offered here that fails leads into this same switch again: the
    // questions start over instead of nesting a second switch.
    while (startupComplete_) {
        CollectFromPages(state_.workingBlock);
        const bool unsent = state_.HasUnsentChanges();
        const bool unsaved = state_.HasUnsavedChanges();
        bool failed = false;
        if (unsent && !OfferFirst(IDS_ASK_SEND_BEFORE_SWITCH, [&] {
                failed = SendOnce() == SendStep::Failed;
                return true;
            }))
            return;
        if (failed)
            continue;
        if (unsaved && !OfferFirst(IDS_ASK_SAVE_BEFORE_SWITCH, [this] { return SaveAsked(); }))
            return;
        break;
    }
    ChoosePrinter();
}

void CMainPanelDlg::ChoosePrinter()
{
    printerDlg_.atStartup = !startupComplete_;
    printerDlg_.printerName = printerName_;
    printerDlg_.portName = portName_;
    if (printerDlg_.DoModal(m_hWnd) == IDOK) {
        const bool several = printerDlg_.printerCount > 1;
        ::EnableMenuItem(::GetMenu(m_hWnd), ID_SELECT_PRINTER,
                         MF_BYCOMMAND | (several ? MF_ENABLED : MF_GRAYED));
        toolbar_.EnableButton(ID_TB_PRINTER, several);
        statusBar_.SetTexts(printerDlg_.printerName, printerDlg_.portName);
        printerName_ = printerDlg_.printerName;
        portName_ = printerDlg_.portName;
        if (startupComplete_)
            ApplyFactoryDefaults();
        return;
    }
    // Without a printer the panel cannot work: at start-up a cancel ends it.
    const bool noPrinter = printerDlg_.printerName.empty() && printerDlg_.portName.empty();
    if (noPrinter || (printerDlg_.portName == qv::kFilePort && !startupComplete_))
        EndDialog(IDOK);
}

void CMainPanelDlg::ConfirmExit()
{
    CollectFromPages(state_.workingBlock);
    const bool unsent = state_.HasUnsentChanges();
    const bool unsaved = state_.HasUnsavedChanges();
    // A send that fails ends the exit after the printer switch it leads to:
    // the switch may show other settings (the factory ones), and the save
    // question decided before it would write those over the operator's file.
    if (unsent && !OfferFirst(IDS_ASK_SEND_BEFORE_EXIT, [this] { return SendSettings(); }))
        return;
    if (IsModalEnding())
        return;
    if (unsaved && !OfferFirst(IDS_ASK_SAVE_BEFORE_EXIT, [this] { return SaveAsked(); }))
        return;
    EndDialog(IDOK);
}
