#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "TestSupport.h"
#include "framework/Text.h"
#include "resource.h"
#include "PanelUnderTest.h"

namespace {

bool MenuGrayed(HMENU menu, UINT id) { return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

class MainPanelTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    PanelUnderTest dlg;

    void Run(const std::function<void()>& body) { RunModal(dlg, body); }
    HWND Tab() const { return dlg.GetDlgItem(IDC_TAB); }
};

TEST_F(MainPanelTest, StartsFromFactorySettingsOnTheFunctionSelectPage)
{
    Run([&] {
        EXPECT_EQ(dlg.workingBlock, qv::FactoryDefaults);
        EXPECT_EQ(dlg.savedBlock, qv::FactoryDefaults);
        EXPECT_EQ(dlg.sentBlock, qv::FactoryDefaults);
        EXPECT_FALSE(dlg.HasUnsentChanges());
        EXPECT_FALSE(dlg.HasUnsavedChanges());
        EXPECT_TRUE(dlg.startupComplete);
        EXPECT_EQ(dlg.CurrentTab(), 0);
        EXPECT_TRUE(dlg.pageSelect.IsWindowVisible());
        for (int i = 1; i < CMainPanelDlg::kPageCount; ++i)
            EXPECT_FALSE(dlg.PageOfTab(i).IsWindowVisible()) << i;
        // Sending is offered although nothing changed yet.
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_TRUE(dlg.toolbar.IsButtonEnabled(ID_TB_SEND));
        EXPECT_EQ(dlg.GetWindowText(), W("Tav Kestrolinea 418KQ5 クオーヴェクス"));
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(MainPanelTest, TabsCarryTheirCaptionsInOrder)
{
    Run([&] {
        const char* captions[] = {"機能選択", "パラメータ設定", "ＭＳＷ１",
                                  "ＭＳＷ２", "ＭＳＷ３",       "ＭＳＷ４"};
        ASSERT_EQ(TabCtrl_GetItemCount(Tab()), 6);
        for (int i = 0; i < 6; ++i) {
            wchar_t text[64] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT | TCIF_IMAGE;
            item.pszText = text;
            item.cchTextMax = 64;
            TabCtrl_GetItem(Tab(), i, &item);
            EXPECT_EQ(std::wstring(text), W(captions[i]));
            EXPECT_EQ(item.iImage, i == 0 ? 0 : i == 1 ? 2 : 1);
        }
    });
}

TEST_F(MainPanelTest, PageCommandsAndAcceleratorsSwitchPagesAndMoveTheFocus)
{
    Run([&] {
        const UINT commands[] = {ID_PAGE_SELECT, ID_PAGE_PARAM, ID_PAGE_MSW1,
                                 ID_PAGE_MSW2,   ID_PAGE_MSW3,  ID_PAGE_MSW4};
        for (int i = 5; i >= 0; --i) {
            dlg.SendCommand(commands[i]);
            EXPECT_EQ(dlg.CurrentTab(), i);
            EXPECT_TRUE(dlg.PageOfTab(i).IsWindowVisible());
        }
        // Ctrl+1 from inside the parameter page shows MSW1 and focuses into it.
        PressKey(dlg, dlg.GetDlgItem(IDC_TAB), 'P', true);
        EXPECT_EQ(dlg.CurrentTab(), 1);
        ::SetFocus(dlg.pageParam.m_hWnd);
        const HWND focus = ::GetFocus();
        PressKey(dlg, focus, '1', true);
        EXPECT_EQ(dlg.CurrentTab(), 2);
        EXPECT_TRUE(dlg.pageMsw1.IsWindowVisible());
        EXPECT_FALSE(dlg.pageParam.IsWindowVisible());
        EXPECT_TRUE(::IsChild(dlg.pageMsw1.m_hWnd, ::GetFocus()) || ::GetFocus() == dlg.pageMsw1.m_hWnd);

        const UINT keys[] = {'K', 'P', '1', '2', '3', '4'};
        for (int i = 0; i < 6; ++i) {
            PressKey(dlg, ::GetFocus(), keys[i], true);
            EXPECT_EQ(dlg.CurrentTab(), i) << "key " << char(keys[i]);
        }
    });
}

TEST_F(MainPanelTest, ClickingATabKeepsTheFocusOnTheTabs)
{
    Run([&] {
        RECT item{};
        TabCtrl_GetItemRect(Tab(), 2, &item);
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        ::PostMessageW(Tab(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(Tab(), WM_LBUTTONUP, 0, at);
        dlg.PumpPendingMessages();
        EXPECT_EQ(dlg.CurrentTab(), 2);
        EXPECT_TRUE(dlg.pageMsw1.IsWindowVisible());
        EXPECT_EQ(::GetFocus(), Tab());
    });
}

TEST_F(MainPanelTest, EnterAndEscapeLeaveTheWindowOpen)
{
    Run([&] {
        dlg.SelectPage(1);
        PressKey(dlg, ::GetFocus(), VK_RETURN);
        PressKey(dlg, ::GetFocus(), VK_ESCAPE);
        dlg.SendMessage(WM_COMMAND, IDOK);
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
        EXPECT_FALSE(dlg.IsModalEnding());
        EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd));
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(MainPanelTest, FactorySettingsAskFirstAndCancelChangesNothing)
{
    Run([&] {
        dlg.SelectPage(3);
        dlg.workingBlock[16] = '3';
        boxes.Answer(IDCANCEL);
        dlg.SendCommand(ID_FACTORY);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, LoadResString(IDS_ASK_FACTORY));
        EXPECT_EQ(boxes.Calls()[0].caption, LoadResString(IDS_CAPTION));
        EXPECT_EQ(boxes.Calls()[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
        EXPECT_EQ(dlg.workingBlock[16], '3');
        EXPECT_EQ(dlg.CurrentTab(), 3);
    });
}

TEST_F(MainPanelTest, FactorySettingsConfirmedResetOnlyTheWorkingCopy)
{
    Run([&] {
        dlg.SelectPage(4);
        dlg.workingBlock[16] = '3';
        dlg.savedBlock[20] = '2';
        dlg.EnableSendCommand(false);
        boxes.Answer(IDOK);
        boxes.Answer(IDOK);
        dlg.SendCommand(ID_FACTORY);
        ASSERT_EQ(boxes.Calls().size(), 2u);
        EXPECT_EQ(boxes.Calls()[1].text, LoadResString(IDS_FACTORY_SHOWN));
        EXPECT_EQ(boxes.Calls()[1].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_EQ(dlg.workingBlock, qv::FactoryDefaults);
        EXPECT_EQ(dlg.savedBlock[20], '2');
        EXPECT_EQ(dlg.CurrentTab(), 0);
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_TRUE(dlg.toolbar.IsButtonEnabled(ID_TB_SEND));
        EXPECT_FALSE(dlg.HasUnsentChanges());
        EXPECT_TRUE(dlg.HasUnsavedChanges());
    });
}

TEST_F(MainPanelTest, ToolbarButtonRunsTheSameCommandAsTheMenu)
{
    Run([&] {
        boxes.Answer(IDCANCEL);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TB_FACTORY, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dlg.toolbar.m_hWnd));
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, LoadResString(IDS_ASK_FACTORY));
        boxes.Answer(IDCANCEL);
        PressKey(dlg, ::GetFocus(), 'I', true);
        EXPECT_EQ(boxes.Calls().size(), 2u);
    });
}

TEST_F(MainPanelTest, DataCheckFromAPageEnablesSending)
{
    Run([&] {
        dlg.OpenEveryPage();
        dlg.EnableSendCommand(false);
        EXPECT_FALSE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_FALSE(dlg.toolbar.IsButtonEnabled(ID_TB_SEND));
        dlg.pageMsw2.SendCommand(ID_DATA_CHECK);
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_TRUE(dlg.toolbar.IsButtonEnabled(ID_TB_SEND));
    });
}

TEST_F(MainPanelTest, DataCheckCollectsOnlyOnceStartUpIsComplete)
{
    Run([&] {
        dlg.SelectPage(3);
        // MSW2-5 is bit 0 of byte 8; clicking its button for 1 reports an edit.
        dlg.startupComplete = false;
        dlg.EnableSendCommand(false);
        ::SendMessageW(dlg.pageMsw2.GetDlgItem(IDC_MSW2_MODE_HS), BM_CLICK, 0, 0);
        dlg.PumpPendingMessages();
        EXPECT_EQ(dlg.workingBlock[8], 0x00);
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));

        dlg.startupComplete = true;
        ::SendMessageW(dlg.pageMsw2.GetDlgItem(IDC_MSW2_MODE_HD), BM_CLICK, 0, 0);
        ::SendMessageW(dlg.pageMsw2.GetDlgItem(IDC_MSW2_MODE_HS), BM_CLICK, 0, 0);
        dlg.PumpPendingMessages();
        EXPECT_EQ(dlg.workingBlock[8], 0x01);
        EXPECT_TRUE(dlg.HasUnsentChanges());
    });
}

TEST_F(MainPanelTest, ToolbarAnswersItsOwnTooltips)
{
    Run([&] {
        const char* tips[] = {"設定ファイルの読み込み", "設定ファイルへの書き込み", "設定値をプリンタに送信",
                              "工場出荷設定を表示",     "プリンタの選択",           "送信履歴"};
        for (UINT id = ID_TB_OPEN; id <= ID_TB_HISTORY; ++id) {
            NMTTDISPINFOW info{};
            info.hdr.hwndFrom = nullptr;
            info.hdr.idFrom = id;
            info.hdr.code = TTN_GETDISPINFOW;
            dlg.toolbar.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
            EXPECT_EQ(std::wstring(info.lpszText), W(tips[id - ID_TB_OPEN]));
        }
    });
}

TEST(ToolbarTooltip, CutsAtSeventyNineBytesWithoutSplittingACharacter)
{
    const std::wstring wide(60, L'設');  // two bytes each in code page 932
    EXPECT_EQ(CutToCp932Bytes(wide, 79), std::wstring(39, L'設'));
    const std::wstring mixed = L"a" + wide;
    EXPECT_EQ(CutToCp932Bytes(mixed, 79), L"a" + std::wstring(39, L'設'));
    EXPECT_EQ(ToCp932(CutToCp932Bytes(mixed, 79)).size(), 79u);
    EXPECT_EQ(CutToCp932Bytes(L"short", 79), L"short");
}

TEST_F(MainPanelTest, StatusBarSplitsAtSixAndAHalfTenths)
{
    EXPECT_EQ(CPanelStatusBar::Split(367), 234);
    EXPECT_EQ(CPanelStatusBar::Split(9), 0);
    Run([&] {
        RECT rc{};
        ::GetWindowRect(dlg.statusBar, &rc);
        int parts[2] = {};
        ASSERT_EQ(::SendMessageW(dlg.statusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts)), 2);
        EXPECT_EQ(parts[0], CPanelStatusBar::Split(rc.right - rc.left));
        EXPECT_EQ(parts[1], -1);
    });
}

TEST_F(MainPanelTest, SystemMenuFollowsTheWindowState)
{
    Run([&] {
        const HMENU sys = ::GetSystemMenu(dlg.m_hWnd, FALSE);
        EXPECT_TRUE(MenuGrayed(sys, SC_SIZE));
        EXPECT_TRUE(MenuGrayed(sys, SC_MAXIMIZE));
        EXPECT_TRUE(MenuGrayed(sys, SC_RESTORE));
        EXPECT_FALSE(MenuGrayed(sys, SC_MINIMIZE));
        dlg.ShowWindow(SW_MINIMIZE);
        dlg.PumpPendingMessages();
        EXPECT_FALSE(MenuGrayed(sys, SC_RESTORE));
        EXPECT_TRUE(MenuGrayed(sys, SC_MINIMIZE));
        EXPECT_TRUE(MenuGrayed(sys, SC_SIZE));
        EXPECT_TRUE(MenuGrayed(sys, SC_MAXIMIZE));
        dlg.ShowWindow(SW_RESTORE);
        dlg.PumpPendingMessages();
        EXPECT_TRUE(MenuGrayed(sys, SC_RESTORE));
        EXPECT_FALSE(MenuGrayed(sys, SC_MINIMIZE));
        EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON),
                  reinterpret_cast<LRESULT>(
                      ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))));
    });
}

TEST_F(MainPanelTest, MenuBarHoldsTheCommandsInOrder)
{
    Run([&] {
        const HMENU bar = ::GetMenu(dlg.m_hWnd);
        ASSERT_EQ(::GetMenuItemCount(bar), 3);
        const HMENU file = ::GetSubMenu(bar, 0);
        const UINT fileIds[] = {
            ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_SEND, ID_SEND_HISTORY, ID_FACTORY, 0, ID_SELECT_PRINTER, 0,
            ID_FILE_EXIT};
        ASSERT_EQ(::GetMenuItemCount(file), 10);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(::GetMenuItemID(file, i), fileIds[i]) << i;
        const HMENU pages = ::GetSubMenu(bar, 1);
        const UINT pageIds[] = {
            ID_PAGE_SELECT,   ID_PAGE_PARAM, ID_PAGE_MSW1, ID_PAGE_MSW2, ID_PAGE_MSW3, ID_PAGE_MSW4, 0,
            ID_REVIEW_CHANGES};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(::GetMenuItemID(pages, i), pageIds[i]) << i;
        const HMENU help = ::GetSubMenu(bar, 2);
        EXPECT_EQ(::GetMenuItemID(help, 0), static_cast<UINT>(ID_HELP_CONTENTS));
        EXPECT_EQ(::GetMenuItemID(help, 2), static_cast<UINT>(ID_APP_ABOUT));
    });
}

TEST_F(MainPanelTest, AboutBoxOpensModally)
{
    Run([&] {
        bool shown = false;
        CDialog::QueueModalScript([&](CDialog& about) {
            shown = true;
            EXPECT_EQ(about.GetWindowText(), W("バージョン情報"));
            EXPECT_FALSE(::IsWindowEnabled(dlg.m_hWnd));
            about.EndDialog(IDOK);
        });
        dlg.SendCommand(ID_APP_ABOUT);
        EXPECT_TRUE(shown);
        EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd));
    });
}

}  // namespace

TEST_F(MainPanelTest, PageKeysMoveThroughThePagesAndWrapAround)
{
    const struct {
        UINT key;
        bool shift;
        int from;
        int to;
    } rows[] = {
        {VK_TAB, false, 0, 1},  {VK_TAB, false, 5, 0},  {VK_TAB, true, 0, 5},    {VK_TAB, true, 3, 2},
        {VK_NEXT, false, 2, 3}, {VK_NEXT, false, 5, 0}, {VK_PRIOR, false, 0, 5}, {VK_PRIOR, false, 4, 3},
    };
    Run([&] {
        for (const auto& row : rows) {
            dlg.SelectPage(row.from);
            BYTE keys[256] = {};
            ::GetKeyboardState(keys);
            keys[VK_SHIFT] = keys[VK_LSHIFT] = row.shift ? 0x80 : 0;
            ::SetKeyboardState(keys);
            PressKey(dlg, ::GetFocus(), row.key, true);
            keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
            ::SetKeyboardState(keys);
            EXPECT_EQ(dlg.CurrentTab(), row.to) << row.key << " shift " << row.shift << " from " << row.from;
            // The same path as a click: the page of the new tab shows.
            EXPECT_TRUE(dlg.PageOfTab(row.to).IsWindowVisible()) << row.to;
            EXPECT_FALSE(dlg.PageOfTab(row.from).IsWindowVisible()) << row.from;
        }
        // Without Ctrl, Tab stays the dialog's focus key.
        dlg.SelectPage(2);
        PressKey(dlg, ::GetFocus(), VK_TAB);
        EXPECT_EQ(dlg.CurrentTab(), 2);
    });
}

TEST_F(MainPanelTest, APageNeverShownHasNoWindowYetTakesPartInSavingAndSending)
{
    Run([&] {
        for (int i = 1; i < CMainPanelDlg::kPageCount; ++i)
            EXPECT_EQ(dlg.PageOfTab(i).m_hWnd, nullptr) << i;
        // A file's values reach the hidden pages' values, and come back out
        // unchanged in the working copy that is saved and sent.
        qv::SettingsBlock block = qv::FactoryDefaults;
        block[qv::off::headCentringCutSheet] = '5';  // 50
        block[qv::off::msw4] = 0x05;
        dlg.workingBlock = block;
        dlg.DistributeToPages(dlg.workingBlock);
        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(dlg.workingBlock, block);
        EXPECT_EQ(dlg.PageOfTab(1).m_hWnd, nullptr);
        // Shown for the first time, the page shows the values it kept.
        dlg.SelectPage(1);
        EXPECT_EQ(dlg.pageParam.GetDlgItemText(IDC_PARAM_CUT_SHEET), L"50");
    });
}

// The flows above compare messages by their string ids; this is the one
// place that holds the texts the operator reads.
TEST(PanelStrings, TheStringTableHoldsTheMainWindowTexts)
{
    const struct {
        UINT id;
        const char* text;
    } rows[] = {
        {IDS_CAPTION, "Quorvex"},
        {IDS_STATUS_PRINTER, "プリンタ名： %1"},
        {IDS_STATUS_PORT, "接続先： %1"},
        {IDS_FILE_FILTER, "QV設定ファイル (*.dat)|*.dat||"},
        {IDS_ASK_FACTORY, "現在の設定値は破棄されます、\n工場出荷設定値に変更しますか？"},
        {IDS_FACTORY_SHOWN, "工場出荷設定値を表示しました。"},
        {IDS_ASK_DISCARD, "設定が変更されています。\nコマンドを続行すると設定の変更は破棄されます。"},
        {IDS_NOT_SETTINGS_FILE, "このファイルは設定ファイルではありません。"},
        {IDS_WRITE_FAILED, "設定ファイルの書き込みに失敗しました。"},
        {IDS_WRITE_DENIED,
         "設定ファイルの書き込みに失敗しました。\nこのディレクトリに保存するアクセス許可がない可能"
         "性があります。\n設定ファイルの保存先を変更してやり直してください。"},
        {IDS_NO_HELP, "ヘルプファイルが見つかりません。"},
        {IDS_NO_PRINTER_SELECTED, "プリンタが選択されていません。\nプリンタを選択してください。"},
        {IDS_PORT_IS_FILE, "接続先がFILEのため設定値を送信できません。"},
        {IDS_SENT, "プリンタに設定値を送信しました。"},
        {IDS_SEND_FAILED,
         "指定されたプリンタは、現在接続されていないか、プリンタ使用権の制限により使用できません。"},
        {IDS_ASK_SEND_BEFORE_SWITCH,
         "設定値が変更されています。\nプリンタを切り替える前に、設定値をプリンタへ送信しますか？"},
        {IDS_ASK_SAVE_BEFORE_SWITCH,
         "設定値が変更されています。\nプリンタを切り替える前に、設定ファイルへ保存しますか？"},
        {IDS_ASK_SEND_BEFORE_EXIT, "Quorvex を終了する前に、設定値をプリンタへ送信しますか？"},
        {IDS_ASK_SAVE_BEFORE_EXIT, "Quorvex を終了する前に、設定ファイルへ保存しますか？"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LoadResString(row.id), W(row.text)) << row.id;
}
