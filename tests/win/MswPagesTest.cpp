#include <gtest/gtest.h>

#include <windows.h>

#include "TestSupport.h"
#include "framework/Text.h"
#include "resource.h"
#include "PanelUnderTest.h"

namespace {

constexpr int kTabMsw1 = 2, kTabMsw2 = 3, kTabMsw3 = 4, kTabMsw4 = 5;

bool Checked(const CWindow& page, int id) { return ::IsDlgButtonChecked(page.m_hWnd, id) == BST_CHECKED; }

std::wstring ListText(const CWindow& page, int id)
{
    const LRESULT sel = page.SendDlgItemMessage(id, CB_GETCURSEL);
    if (sel == CB_ERR)
        return L"(none)";
    wchar_t text[64] = {};
    page.SendDlgItemMessage(id, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
    return text;
}

struct Group {
    int tab;
    int forZero;
    int forOne;
    int expected;  // 0 or 1: which button is checked
};

class MswPagesTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    PanelUnderTest dlg;

    void Run(const std::function<void()>& body)
    {
        RunModal(dlg, [&] {
            dlg.OpenEveryPage();
            body();
        });
    }
    CSettingsPage& Page(int tab) { return dlg.PageOfTab(tab); }

    // Loads the block as a file load would, then collects it back.
    void LoadAndCollect(qv::SettingsBlock& block)
    {
        dlg.workingBlock = block;
        dlg.DistributeToPages(dlg.workingBlock);
        dlg.CollectFromPages(dlg.workingBlock);
    }

    void Click(int tab, int id)
    {
        dlg.SelectPage(tab);
        Page(tab).SendDlgItemMessage(id, BM_CLICK);
        dlg.PumpPendingMessages();
    }
};

TEST_F(MswPagesTest, FactorySettingsShowTheFactorySwitches)
{
    const Group groups[] = {
        {kTabMsw1, IDC_MSW1_RX_COMPAT, IDC_MSW1_RX_FAST, 0},
        {kTabMsw1, IDC_MSW1_DC13_ON, IDC_MSW1_DC13_OFF, 0},
        {kTabMsw1, IDC_MSW1_AUTO_CRLF, IDC_MSW1_AUTO_CR, 0},
        {kTabMsw1, IDC_MSW1_PRINT_CR, IDC_MSW1_PRINT_ALL, 0},
        {kTabMsw1, IDC_MSW1_CR_ONLY, IDC_MSW1_CR_CRLF, 0},
        {kTabMsw2, IDC_MSW2_PE_PRINT, IDC_MSW2_PE_ALWAYS, 1},
        {kTabMsw2, IDC_MSW2_GRAPH_NATIVE, IDC_MSW2_GRAPH_COPY, 0},
        {kTabMsw2, IDC_MSW2_QUIET_OFF, IDC_MSW2_QUIET_ON, 0},
        {kTabMsw2, IDC_MSW2_MODE_HD, IDC_MSW2_MODE_HS, 0},
        {kTabMsw2, IDC_MSW2_DATA_8BIT, IDC_MSW2_DATA_7BIT, 0},
        {kTabMsw2, IDC_MSW2_COLS_136, IDC_MSW2_COLS_80, 0},
        {kTabMsw2, IDC_MSW2_DIR_BIDI, IDC_MSW2_DIR_UNI, 0},
        {kTabMsw3, IDC_MSW3_MODE_PC, IDC_MSW3_MODE_JOHO, 0},
        {kTabMsw3, IDC_MSW3_LOADPOS_KEEP, IDC_MSW3_LOADPOS_FORGET, 0},
        {kTabMsw3, IDC_MSW3_SF_ESCA, IDC_MSW3_SF_MULTI, 0},
        {kTabMsw3, IDC_MSW3_AUTOCUT_OFF, IDC_MSW3_AUTOCUT_ON, 0},
        {kTabMsw3, IDC_MSW3_PERF_NOSKIP, IDC_MSW3_PERF_SKIP, 0},
        {kTabMsw4, IDC_MSW4_IDLE_ON, IDC_MSW4_IDLE_OFF, 0},
        {kTabMsw4, IDC_MSW4_SF_THROUGHPUT, IDC_MSW4_SF_DESKEW, 0},
        {kTabMsw4, IDC_MSW4_CUTFEED_FIXED, IDC_MSW4_CUTFEED_TOF, 1},
        {kTabMsw4, IDC_MSW4_DOTDIR_UNI, IDC_MSW4_DOTDIR_BIDI, 1},
        {kTabMsw4, IDC_MSW4_SPEED_NORMAL, IDC_MSW4_SPEED_HIGH, 0},
        {kTabMsw4, IDC_MSW4_SG_EJECT_SELECT, IDC_MSW4_SG_EJECT_REAR, 0},
        {kTabMsw4, IDC_MSW4_SF_EJECT_SELECT, IDC_MSW4_SF_EJECT_REAR, 0},
        {kTabMsw4, IDC_MSW4_SG_LOAD_AUTO, IDC_MSW4_SG_LOAD_MANUAL, 0},
    };
    Run([&] {
        // First show every other state, so the factory load has to change each control.
        qv::SettingsBlock flipped = qv::FactoryDefaults;
        for (const std::size_t at : {4, 5, 7, 8, 10, 11, 13, 14})
            flipped[at] = static_cast<std::uint8_t>(qv::FactoryDefaults[at] ^ 0x0F);
        dlg.DistributeToPages(flipped);
        dlg.workingBlock = qv::FactoryDefaults;
        dlg.DistributeToPages(dlg.workingBlock);

        EXPECT_EQ(ListText(Page(kTabMsw1), IDC_MSW1_COUNTRY), W("日本"));
        for (const Group& g : groups) {
            EXPECT_EQ(Checked(Page(g.tab), g.forZero), g.expected == 0) << g.forZero;
            EXPECT_EQ(Checked(Page(g.tab), g.forOne), g.expected == 1) << g.forOne;
        }
        EXPECT_FALSE(Checked(Page(kTabMsw2), IDC_MSW2_SLASH_ZERO));
        EXPECT_FALSE(Checked(Page(kTabMsw3), IDC_MSW3_SLASH_ZERO));
        // The LAN adapter buttons are never bound.
        EXPECT_FALSE(Checked(Page(kTabMsw3), IDC_MSW3_LAN_NONE));
        EXPECT_FALSE(Checked(Page(kTabMsw3), IDC_MSW3_LAN_PRESENT));

        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(dlg.workingBlock, qv::FactoryDefaults);
    });
}

TEST_F(MswPagesTest, CountryListHoldsTheFiveCountriesInOrder)
{
    Run([&] {
        const char* names[] = {"日本", "アメリカ", "イギリス", "ドイツ", "スウェーデン"};
        const HWND list = Page(kTabMsw1).GetDlgItem(IDC_MSW1_COUNTRY);
        ASSERT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), 5);
        for (int i = 0; i < 5; ++i) {
            wchar_t text[32] = {};
            ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(std::wstring(text), W(names[i]));
        }
    });
}

TEST_F(MswPagesTest, CountryBitsShowAsTheirCountryAndUnknownNumbersBecomeJapan)
{
    Run([&] {
        // n = bits 0-2 of byte 4; 1, 6 and 7 name no country.
        const char* shown[8] = {"日本",   "日本",         "アメリカ", "イギリス",
                                "ドイツ", "スウェーデン", "日本",     "日本"};
        const std::uint8_t stored[8] = {0, 0, 2, 3, 4, 5, 0, 0};
        for (std::uint8_t n = 0; n < 8; ++n) {
            qv::SettingsBlock block = qv::FactoryDefaults;
            block[4] = n;
            LoadAndCollect(block);
            EXPECT_EQ(ListText(Page(kTabMsw1), IDC_MSW1_COUNTRY), W(shown[n])) << int(n);
            EXPECT_EQ(dlg.workingBlock[4], stored[n]) << int(n);
        }

        qv::SettingsBlock block = qv::FactoryDefaults;
        block[4] = 0x0B;  // MSW1-1, 1-2 and 1-4
        dlg.workingBlock = block;
        dlg.DistributeToPages(dlg.workingBlock);
        EXPECT_EQ(ListText(Page(kTabMsw1), IDC_MSW1_COUNTRY), W("イギリス"));
        EXPECT_TRUE(Checked(Page(kTabMsw1), IDC_MSW1_RX_FAST));
        EXPECT_FALSE(Checked(Page(kTabMsw1), IDC_MSW1_RX_COMPAT));
        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(dlg.workingBlock[4], 0x0B);

        block[4] = 0x07;
        LoadAndCollect(block);
        EXPECT_EQ(ListText(Page(kTabMsw1), IDC_MSW1_COUNTRY), W("日本"));
        EXPECT_EQ(dlg.workingBlock[4], 0x00);
    });
}

TEST_F(MswPagesTest, Msw3ClearsTheLanSwitchAndCarriesSwitchSix)
{
    Run([&] {
        qv::SettingsBlock block = qv::FactoryDefaults;
        block[10] = 0x01;
        LoadAndCollect(block);
        EXPECT_EQ(dlg.workingBlock[10], 0x00);
        EXPECT_FALSE(Checked(Page(kTabMsw3), IDC_MSW3_LAN_PRESENT));

        block[10] = 0x0F;
        block[11] = 0x02;
        LoadAndCollect(block);
        EXPECT_EQ(dlg.workingBlock[10], 0x0E);
        EXPECT_EQ(dlg.workingBlock[11], 0x02);
        EXPECT_TRUE(Checked(Page(kTabMsw3), IDC_MSW3_MODE_JOHO));
        EXPECT_TRUE(Checked(Page(kTabMsw3), IDC_MSW3_LOADPOS_FORGET));
        EXPECT_TRUE(Checked(Page(kTabMsw3), IDC_MSW3_SF_MULTI));
        EXPECT_FALSE(Checked(Page(kTabMsw3), IDC_MSW3_SLASH_ZERO));

        // Switch six survives an edit of its neighbours.
        dlg.EnableSendCommand(false);
        Click(kTabMsw3, IDC_MSW3_SLASH_ZERO);
        EXPECT_EQ(dlg.workingBlock[11], 0x06);
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));

        // A notification from a hidden LAN button still counts as an edit
        // but never sets the switch.
        dlg.EnableSendCommand(false);
        const HWND lan = Page(kTabMsw3).GetDlgItem(IDC_MSW3_LAN_PRESENT);
        ::SendMessageW(lan, BM_SETCHECK, BST_CHECKED, 0);
        Page(kTabMsw3).SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MSW3_LAN_PRESENT, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(lan));
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(dlg.workingBlock[10], 0x0E);
    });
}

TEST_F(MswPagesTest, UpperBitsOfASwitchByteAreDropped)
{
    Run([&] {
        qv::SettingsBlock block = qv::FactoryDefaults;
        block[7] = 0xF2;
        block[13] = 0xFC;
        block[5] = 0xA5;
        LoadAndCollect(block);
        EXPECT_EQ(dlg.workingBlock[7], 0x02);
        EXPECT_EQ(dlg.workingBlock[13], 0x0C);
        EXPECT_EQ(dlg.workingBlock[5], 0x05);
        EXPECT_TRUE(Checked(Page(kTabMsw1), IDC_MSW1_DC13_OFF));
        EXPECT_TRUE(Checked(Page(kTabMsw1), IDC_MSW1_PRINT_ALL));
    });
}

TEST_F(MswPagesTest, ClickingAButtonChangesItsBitAndEnablesSending)
{
    struct Case {
        int tab;
        int id;
        std::size_t at;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {kTabMsw1, IDC_MSW1_CR_CRLF, 5, 0x08},        {kTabMsw1, IDC_MSW1_RX_FAST, 4, 0x08},
        {kTabMsw2, IDC_MSW2_QUIET_ON, 7, 0x0A},       {kTabMsw2, IDC_MSW2_SLASH_ZERO, 7, 0x0B},
        {kTabMsw2, IDC_MSW2_PE_PRINT, 7, 0x09},       {kTabMsw2, IDC_MSW2_DIR_UNI, 8, 0x08},
        {kTabMsw3, IDC_MSW3_MODE_JOHO, 10, 0x02},     {kTabMsw3, IDC_MSW3_AUTOCUT_ON, 11, 0x01},
        {kTabMsw4, IDC_MSW4_DOTDIR_UNI, 13, 0x04},    {kTabMsw4, IDC_MSW4_SG_LOAD_MANUAL, 14, 0x08},
        {kTabMsw4, IDC_MSW4_CUTFEED_FIXED, 13, 0x00}, {kTabMsw4, IDC_MSW4_IDLE_OFF, 13, 0x01},
    };
    Run([&] {
        for (const Case& c : cases) {
            dlg.EnableSendCommand(false);
            Click(c.tab, c.id);
            EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND)) << c.id;
            EXPECT_TRUE(dlg.toolbar.IsButtonEnabled(ID_TB_SEND)) << c.id;
            EXPECT_EQ(dlg.workingBlock[c.at], c.expected) << c.id;
        }
    });
}

TEST_F(MswPagesTest, FocusingOrChoosingInTheCountryListReportsAnEdit)
{
    Run([&] {
        dlg.SelectPage(kTabMsw1);
        const HWND list = Page(kTabMsw1).GetDlgItem(IDC_MSW1_COUNTRY);
        // Showing the page puts the focus on its first control, the list.
        ::SetFocus(Page(kTabMsw1).GetDlgItem(IDC_MSW1_RX_COMPAT));
        dlg.PumpPendingMessages();
        dlg.EnableSendCommand(false);
        ::SetFocus(list);
        dlg.PumpPendingMessages();
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(dlg.workingBlock[4], 0x00);

        dlg.EnableSendCommand(false);
        PressKey(dlg, list, VK_DOWN);
        PressKey(dlg, list, VK_DOWN);
        EXPECT_EQ(ListText(Page(kTabMsw1), IDC_MSW1_COUNTRY), W("イギリス"));
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(dlg.workingBlock[4], 0x03);
        PressKey(dlg, list, VK_DOWN);
        EXPECT_EQ(dlg.workingBlock[4], 0x04);
    });
}

TEST_F(MswPagesTest, LoadingReportsNoEdit)
{
    Run([&] {
        dlg.SelectPage(kTabMsw1);
        ::SetFocus(Page(kTabMsw1).GetDlgItem(IDC_MSW1_COUNTRY));
        dlg.PumpPendingMessages();
        dlg.EnableSendCommand(false);

        qv::SettingsBlock block = qv::FactoryDefaults;
        block[4] = 0x0D;
        block[8] = 0x05;
        block[11] = 0x0F;
        block[14] = 0x0A;
        const qv::SettingsBlock before = dlg.workingBlock;
        dlg.DistributeToPages(block);
        dlg.PumpPendingMessages();
        EXPECT_FALSE(dlg.IsCommandEnabled(ID_SEND));
        // No collect ran in the middle of the distribute.
        EXPECT_EQ(dlg.workingBlock, before);
        EXPECT_EQ(ListText(Page(kTabMsw1), IDC_MSW1_COUNTRY), W("スウェーデン"));

        dlg.CollectFromPages(block);
        EXPECT_EQ(block[4], 0x0D);
        EXPECT_EQ(block[8], 0x05);
        EXPECT_EQ(block[11], 0x0F);
        EXPECT_EQ(block[14], 0x0A);
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

}  // namespace
