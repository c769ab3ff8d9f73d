#include "MainPanelDlg.h"

#include <commctrl.h>

#include <htmlhelp.h>

#include "framework/Seams.h"
#include "framework/SystemLibrary.h"
#include "framework/Text.h"
#include "printer/SpoolerAccess.h"
#include "resource.h"
#include "storage/SettingsFileWin32.h"

namespace {

const wchar_t* const kCaption = L"Quorvex";

struct TabEntry {
    const wchar_t* caption;
    int image;
};
// Tab order and captions; the pages follow the same order.
constexpr std::array<TabEntry, CMainPanelDlg::kPageCount> kTabs = {{
    {L"機能選択", 0},
    {L"パラメータ設定", 2},
    {L"ＭＳＷ１", 1},
    {L"ＭＳＷ２", 1},
    {L"ＭＳＷ３", 1},
    {L"ＭＳＷ４", 1},
}};

}  // namespace

CMainPanelDlg::CMainPanelDlg() : CDialog(IDD_MAIN)
{
    icon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    Accelerators();

    MapCommand(ID_FILE_OPEN, &CMainPanelDlg::ReadSettingsFile);
    MapCommand(ID_FILE_SAVE, &CMainPanelDlg::WriteSettingsFile);
    MapCommand(ID_SEND, &CMainPanelDlg::SendSettings);
    MapCommand(ID_FACTORY, &CMainPanelDlg::OnShowFactoryDefaults);
    MapCommand(ID_SELECT_PRINTER, &CMainPanelDlg::SelectPrinter);
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
    MapNotify(IDC_TAB, TCN_SELCHANGE, &CMainPanelDlg::OnTabSelChange);

    MapMessage(WM_SYSCOMMAND, &CMainPanelDlg::OnSysCommand);
    MapMessage(WM_SIZE, &CMainPanelDlg::OnSize);
    MapMessage(WM_PAINT, &CMainPanelDlg::OnPaint);
    MapMessage(WM_QUERYDRAGICON, &CMainPanelDlg::OnQueryDragIcon);
    MapMessage(WM_MENUCHAR, &CMainPanelDlg::OnMenuChar);
    MapMessage(WM_MEASUREITEM, &CMainPanelDlg::OnMeasureItem);
    MapMessage(WM_DRAWITEM, &CMainPanelDlg::OnDrawItem);
    MapMessage(WM_DESTROY, &CMainPanelDlg::OnDestroy);
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
    CreateMenuBar();
    LocateHelpFile();
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    CreateToolBar();
    CreateStatusBar();

    printerDlg.startupComplete = false;
    workingBlock = qv::FactoryDefaults;
    sentBlock = qv::FactoryDefaults;
    savedBlock = qv::FactoryDefaults;
    EnableSendCommand(true);

    CreateTabsAndPages();
    DistributeToPages(workingBlock);
    SelectPrinter();
    if (IsModalEnding())
        return TRUE;
    pageSelect.UpdateFormButtonCaption();
    printerDlg.startupComplete = true;
    UpdateSystemMenu(m_hWnd);
    return TRUE;
}

void CMainPanelDlg::CreateMenuBar()
{
    struct MenuIcon {
        UINT command;
        int bitmap;
    };
    static constexpr MenuIcon kIcons[] = {
        {ID_FILE_OPEN, IDB_MENU_OPEN},   {ID_FILE_SAVE, IDB_MENU_SAVE},
        {ID_FACTORY, IDB_MENU_FACTORY},  {ID_SELECT_PRINTER, IDB_MENU_PRINTER},
        {ID_SEND, IDB_MENU_SEND},        {ID_PAGE_SELECT, IDB_MENU_SELECT},
        {ID_PAGE_PARAM, IDB_MENU_PARAM}, {ID_PAGE_MSW1, IDB_MENU_MSW},
        {ID_PAGE_MSW2, IDB_MENU_MSW},    {ID_PAGE_MSW3, IDB_MENU_MSW},
        {ID_PAGE_MSW4, IDB_MENU_MSW},
    };
    menu.LoadMenu(IDR_MENU_MAIN);
    for (const MenuIcon& icon : kIcons)
        menu.SetItemIcon(nullptr, icon.command, icon.bitmap);
    // The template's plain menu is replaced, and the window owns the new bar.
    const HMENU templateMenu = ::GetMenu(m_hWnd);
    if (menu.GetSafeHmenu() && ::SetMenu(m_hWnd, menu.GetSafeHmenu())) {
        menu.Detach();
        if (templateMenu)
            ::DestroyMenu(templateMenu);
    }
}

void CMainPanelDlg::CreateToolBar() { toolbar.Create(m_hWnd, IDC_TOOLBAR, IDB_TOOLBAR); }

void CMainPanelDlg::CreateStatusBar()
{
    statusBar = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0,
                                  0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_STATUSBAR)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    RECT rc{};
    ::GetWindowRect(statusBar, &rc);
    int parts[2] = {StatusSplit(rc.right - rc.left), -1};
    ::SendMessageW(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void CMainPanelDlg::CreateTabsAndPages()
{
    const HWND tab = GetDlgItem(IDC_TAB);
    tabImages_.reset(::ImageList_LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TABS), 16, 1,
                                            RGB(192, 192, 192), IMAGE_BITMAP, LR_CREATEDIBSECTION));
    TabCtrl_SetImageList(tab, tabImages_.get());
    for (int i = 0; i < kPageCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<wchar_t*>(kTabs[static_cast<std::size_t>(i)].caption);
        item.iImage = kTabs[static_cast<std::size_t>(i)].image;
        TabCtrl_InsertItem(tab, i, &item);
    }
    for (int i = 0; i < kPageCount; ++i) {
        CSettingsPage& page = PageOfTab(i);
        page.Create(m_hWnd);
        ::SetWindowPos(page.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        page.ShowWindow(i == 0 ? SW_SHOW : SW_HIDE);
    }
}

CSettingsPage& CMainPanelDlg::PageOfTab(int index)
{
    CSettingsPage* pages[kPageCount] = {&pageSelect, &pageParam, &pageMsw1, &pageMsw2, &pageMsw3, &pageMsw4};
    return *pages[index];
}

void CMainPanelDlg::DistributeToPages(qv::SettingsBlock& block)
{
    for (int i = 0; i < kPageCount; ++i)
        PageOfTab(i).LoadFromBlock(block);
}

void CMainPanelDlg::CollectFromPages(qv::SettingsBlock& block)
{
    for (int i = 0; i < kPageCount; ++i)
        PageOfTab(i).StoreToBlock(block);
}

int CMainPanelDlg::CurrentTab() const { return TabCtrl_GetCurSel(GetDlgItem(IDC_TAB)); }

void CMainPanelDlg::SelectPage(int index)
{
    TabCtrl_SetCurSel(GetDlgItem(IDC_TAB), index);
    ShowPage(index);
}

void CMainPanelDlg::OnTabSelChange() { ShowPage(CurrentTab()); }

void CMainPanelDlg::ShowPage(int index)
{
    for (int i = 0; i < kPageCount; ++i)
        PageOfTab(i).ShowWindow(SW_HIDE);
    if (index < 0 || index >= kPageCount)
        return;
    CSettingsPage& page = PageOfTab(index);
    page.ShowWindow(SW_SHOW);
    // A user who clicked a tab keeps the focus on the tabs.
    if (::GetFocus() != GetDlgItem(IDC_TAB))
        ::SetFocus(page.m_hWnd);
}

void CMainPanelDlg::OnDataCheck()
{
    if (printerDlg.startupComplete)
        CollectFromPages(workingBlock);
    EnableSendCommand(true);
}

void CMainPanelDlg::OnShowFactoryDefaults()
{
    if (ShowMessageBox(m_hWnd, L"現在の設定値は破棄されます、\n工場出荷設定値に変更しますか？", kCaption,
                       MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return;
    ApplyFactoryDefaults();
}

void CMainPanelDlg::ApplyFactoryDefaults()
{
    workingBlock = qv::FactoryDefaults;
    DistributeToPages(workingBlock);
    SelectPage(0);
    ShowMessageBox(m_hWnd, L"工場出荷設定値を表示しました。", kCaption, MB_OK | MB_ICONINFORMATION);
    OnDataCheck();
    pageSelect.UpdateFormButtonCaption();
}

bool CMainPanelDlg::PassPendingGate()
{
    if (!pageParam.CentringCheckPending())
        return true;
    if (CurrentTab() != 1)
        SelectPage(1);
    pageParam.CorrectCentringValues();
    return false;
}

void CMainPanelDlg::EnableSendCommand(bool enable)
{
    ::EnableMenuItem(::GetMenu(m_hWnd), ID_SEND, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    toolbar.EnableButton(ID_TB_SEND, enable);
}

bool CMainPanelDlg::IsCommandEnabled(UINT menuId) const
{
    const UINT state = ::GetMenuState(::GetMenu(m_hWnd), menuId, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void CMainPanelDlg::SetStatusTexts(const std::wstring& printer, const std::wstring& port)
{
    const std::wstring part0 = L"プリンタ名： " + printer;
    const std::wstring part1 = L"接続先： " + port;
    ::SendMessageW(statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(part0.c_str()));
    ::SendMessageW(statusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(part1.c_str()));
}

bool CMainPanelDlg::PreTranslateMessage(MSG& msg)
{
    // Accelerators see every key first, whichever control has the focus, so
    // Ctrl+C never copies out of an edit box.
    return Accelerators() && ::TranslateAcceleratorW(m_hWnd, Accelerators(), &msg);
}

void CMainPanelDlg::OnAbout()
{
    CDialog about(IDD_ABOUTBOX);
    about.DoModal(m_hWnd);
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

std::optional<LRESULT> CMainPanelDlg::OnMenuChar(WPARAM wParam, LPARAM lParam)
{
    const auto popup = reinterpret_cast<HMENU>(lParam);
    if (!CIconMenu::IsIconMenu(popup))
        return std::nullopt;
    return CIconMenu::FindMnemonic(LOWORD(wParam), HIWORD(wParam), popup);
}

std::optional<LRESULT> CMainPanelDlg::OnMeasureItem(WPARAM, LPARAM lParam)
{
    auto& request = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (request.CtlType != ODT_MENU)
        return std::nullopt;
    menu.MeasureItem(request);
    return TRUE;
}

std::optional<LRESULT> CMainPanelDlg::OnDrawItem(WPARAM, LPARAM lParam)
{
    const auto& request = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    // For menus the item's "window" is the popup that holds it.
    const CIconMenu* popup = request.CtlType == ODT_MENU
                                 ? CIconMenu::FromHandle(reinterpret_cast<HMENU>(request.hwndItem))
                                 : nullptr;
    if (!popup)
        return std::nullopt;
    popup->DrawItem(request);
    return TRUE;
}

std::optional<LRESULT> CMainPanelDlg::OnDestroy(WPARAM, LPARAM)
{
    ::WinHelpW(m_hWnd, helpPath.c_str(), HELP_QUIT, 0);
    // Only a viewer that was started has windows to close.
    if (::GetModuleHandleW(L"hhctrl.ocx"))
        CallHtmlHelp(nullptr, HH_CLOSE_ALL);
    return std::nullopt;
}

std::optional<std::wstring> CMainPanelDlg::AskSettingsFileName(bool save)
{
    // The folder is taken afresh each time: no last-used folder is kept.
    return ShowFileDialog(
        {m_hWnd, save, L"QV設定ファイル (*.dat)|*.dat||", L"dat", L"*.dat", ModuleFolder()});
}

void CMainPanelDlg::ReadSettingsFile()
{
    if (printerDlg.startupComplete) {
        CollectFromPages(workingBlock);
        if (HasUnsentChanges() &&
            ShowMessageBox(m_hWnd,
                           L"設定が変更されています。\nコマンドを続行すると設定の変更は破棄されます。",
                           kCaption, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return;
    }
    const auto path = AskSettingsFileName(false);
    if (!path)
        return;
    if (qv::ReadSettingsFile(*path, workingBlock) != qv::FileReadResult::Ok) {
        ShowMessageBox(m_hWnd, L"このファイルは設定ファイルではありません。", kCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    DistributeToPages(workingBlock);
    savedBlock = workingBlock;
    OnDataCheck();
    pageSelect.UpdateFormButtonCaption();
}

void CMainPanelDlg::WriteSettingsFile()
{
    if (!PassPendingGate())
        return;
    CollectFromPages(workingBlock);
    for (;;) {
        const auto path = AskSettingsFileName(true);
        if (!path)
            return;
        const qv::FileWriteResult result = WriteSettingsFileWin32(*path, workingBlock);
        if (result == qv::FileWriteResult::Ok) {
            savedBlock = workingBlock;
            return;
        }
        if (result != qv::FileWriteResult::AccessDenied || !CurrentPlatform().IsNtFamily()) {
            ShowMessageBox(m_hWnd, L"設定ファイルの書き込みに失敗しました。", kCaption, MB_OK | MB_ICONSTOP);
            return;
        }
        ShowMessageBox(
            m_hWnd,
            L"設定ファイルの書き込みに失敗しました。\nこのディレクトリに保存するアクセス許可がない可能性"
            L"があります。\n設定ファイルの保存先を変更してやり直してください。",
            kCaption, MB_OK | MB_ICONEXCLAMATION);
    }
}

HWND CMainPanelDlg::CallHtmlHelp(const wchar_t* path, UINT command)
{
    // The viewer is looked up at run time: a system without it still runs.
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static const HMODULE viewer = LoadSystemLibrary(L"hhctrl.ocx");
    const auto fn =
        viewer ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(::GetProcAddress(viewer, "HtmlHelpW")))
               : nullptr;
    return fn ? fn(nullptr, path, command, 0) : nullptr;
}

void CMainPanelDlg::ShowHelp()
{
    const bool shown = helpIsHtml ? CallHtmlHelp(helpPath.c_str(), HH_DISPLAY_TOPIC) != nullptr
                                  : ::WinHelpW(nullptr, helpPath.c_str(), HELP_FINDER, 0) != FALSE;
    if (!shown)
        ShowMessageBox(m_hWnd, L"ヘルプファイルが見つかりません。", kCaption, MB_OK | MB_ICONEXCLAMATION);
}

void CMainPanelDlg::LocateHelpFile()
{
    const qv::HelpChoice choice = qv::ChooseHelpFile(CurrentPlatform());
    helpIsHtml = choice.isHtml;
    helpPath = ModuleFolder() + Widen(choice.fileName);
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(helpPath.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        ::EnableMenuItem(::GetMenu(m_hWnd), ID_HELP_CONTENTS, MF_BYCOMMAND | MF_GRAYED);
    else
        ::FindClose(search);
}

void CMainPanelDlg::SendSettings()
{
    if (!PassPendingGate())
        return;
    if (printerName.empty() || portName.empty()) {
        ShowMessageBox(m_hWnd, L"プリンタが選択されていません。\nプリンタを選択してください。", kCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        SelectPrinter();
        // A cancelled selection leaves no printer to send to.
        if (IsModalEnding() || printerName.empty() || portName.empty())
            return;
    }
    if (portName == qv::kFilePort) {
        ShowMessageBox(m_hWnd, L"接続先がFILEのため設定値を送信できません。", kCaption,
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
    CollectFromPages(workingBlock);
    if (CurrentSpooler().SendRawJob(printerName, qv::kJobName, workingBlock,
                                    CurrentPlatform().IsNtFamily()) == qv::SendResult::Sent) {
        ShowMessageBox(m_hWnd, L"プリンタに設定値を送信しました。", kCaption, MB_OK | MB_ICONINFORMATION);
        sentBlock = workingBlock;
        EnableSendCommand(false);
        return;
    }
    ShowMessageBox(
        m_hWnd, L"指定されたプリンタは、現在接続されていないか、プリンタ使用権の制限により使用できません。",
        kCaption, MB_OK | MB_ICONEXCLAMATION);
    SelectPrinter();
}

bool CMainPanelDlg::OfferCommandFirst(const wchar_t* question, void (CMainPanelDlg::*command)(),
                                      bool (CMainPanelDlg::*succeeded)() const)
{
    const int answer = ShowMessageBox(m_hWnd, question, kCaption, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return false;
    if (answer != IDYES)
        return true;
    // A pending entry stops the command at its gate, and the asking
    // operation (printer switch or exit) with it.
    const bool pending = pageParam.CentringCheckPending();
    (this->*command)();
    return !pending && (!succeeded || (this->*succeeded)());
}

void CMainPanelDlg::SelectPrinter()
{
    if (printerDlg.startupComplete) {
        CollectFromPages(workingBlock);
        const bool unsent = HasUnsentChanges();
        const bool unsaved = HasUnsavedChanges();
        if (unsent &&
            !OfferCommandFirst(L"設定値が変更されています。\nプリンタを切り替える前に、設定値をプリン"
                               L"タへ送信しますか？",
                               &CMainPanelDlg::SendSettings))
            return;
        // A save that did not happen (cancelled, failed) abandons the switch,
        // which would otherwise replace the edits by the factory settings.
        if (unsaved && !OfferCommandFirst(L"設定値が変更されています。\nプリンタを切り替える前に、設定ファイ"
                                          L"ルへ保存しますか？",
                                          &CMainPanelDlg::WriteSettingsFile, &CMainPanelDlg::IsSaved))
            return;
    }

    printerDlg.printerName = printerName;
    printerDlg.portName = portName;
    if (printerDlg.DoModal(m_hWnd) == IDOK) {
        const bool several = printerDlg.printerCount > 1;
        ::EnableMenuItem(::GetMenu(m_hWnd), ID_SELECT_PRINTER,
                         MF_BYCOMMAND | (several ? MF_ENABLED : MF_GRAYED));
        toolbar.EnableButton(ID_TB_PRINTER, several);
        SetStatusTexts(printerDlg.printerName, printerDlg.portName);
        printerName = printerDlg.printerName;
        portName = printerDlg.portName;
        if (printerDlg.startupComplete)
            ApplyFactoryDefaults();
        return;
    }
    // Without a printer the panel cannot work: at start-up a cancel ends it.
    const bool noPrinter = printerDlg.printerName.empty() && printerDlg.portName.empty();
    if (noPrinter || (printerDlg.portName == qv::kFilePort && !printerDlg.startupComplete))
        EndDialog(IDOK);
}

void CMainPanelDlg::ConfirmExit()
{
    CollectFromPages(workingBlock);
    const bool unsent = HasUnsentChanges();
    const bool unsaved = HasUnsavedChanges();
    if (unsent && !OfferCommandFirst(L"Quorvex を終了する前に、設定値をプリンタへ送信しますか？",
                                     &CMainPanelDlg::SendSettings))
        return;
    if (IsModalEnding())
        return;
    // Leaving without the save the user asked for would lose the edits.
    if (unsaved && !OfferCommandFirst(L"Quorvex を終了する前に、設定ファイルへ保存しますか？",
                                      &CMainPanelDlg::WriteSettingsFile, &CMainPanelDlg::IsSaved))
        return;
    EndDialog(IDOK);
}
