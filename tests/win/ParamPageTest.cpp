#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "TestSupport.h"
#include "framework/Text.h"
#include "resource.h"
#include "PanelUnderTest.h"

namespace {

constexpr int kTabParam = 1;

std::string Bytes(const qv::SettingsBlock& block, std::size_t at, std::size_t count)
{
    return std::string(block.begin() + static_cast<std::ptrdiff_t>(at),
                       block.begin() + static_cast<std::ptrdiff_t>(at + count));
}

class ParamPageTest : public testing::Test {
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
    CPage_Param& Page() { return dlg.pageParam; }
    HWND Item(int id) { return Page().GetDlgItem(id); }
    std::wstring Text(int id) { return Page().GetDlgItemText(id); }

    std::wstring ListText(int id)
    {
        const LRESULT sel = Page().SendDlgItemMessage(id, CB_GETCURSEL);
        if (sel == CB_ERR)
            return L"(none)";
        wchar_t text[64] = {};
        Page().SendDlgItemMessage(id, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
        return text;
    }

    // The user replaces the whole text of a box.
    void Type(int id, const std::wstring& text) { TypeText(dlg, Item(id), text); }

    // The user types after the end of the text.
    void Append(int id, const std::wstring& text)
    {
        const HWND box = Item(id);
        ::SetFocus(box);
        const LRESULT length = ::GetWindowTextLengthW(box);
        ::SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(length), length);
        ::SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        dlg.PumpPendingMessages();
    }

    // Sets a box's text the way a program does, without the focus.
    void SetUnfocused(int id, const std::wstring& text)
    {
        ::SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        dlg.PumpPendingMessages();
    }

    // Chooses a list entry without any notification.
    void SetListQuietly(int id, const char* entry)
    {
        const std::wstring wanted = W(entry);
        Page().SendDlgItemMessage(id, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(wanted.c_str()));
        ASSERT_EQ(ListText(id), wanted);
    }
};

struct Typed {
    const wchar_t* typed;
    const wchar_t* shown;
    bool pending;
};

TEST_F(ParamPageTest, FactorySettingsShowTheFactoryParameters)
{
    Run([&] {
        qv::SettingsBlock other = qv::FactoryDefaults;
        const char* changed = "4,4,2,\0,1";
        std::copy(changed, changed + 9, other.begin() + 16);
        dlg.DistributeToPages(other);
        dlg.workingBlock = qv::FactoryDefaults;
        dlg.DistributeToPages(dlg.workingBlock);

        EXPECT_EQ(ListText(IDC_PARAM_FONT1), W("標準"));
        EXPECT_EQ(ListText(IDC_PARAM_FONT2), W("標準"));
        EXPECT_EQ(ListText(IDC_PARAM_KANJI_TABLE), W("JIS1978年版"));
        EXPECT_EQ(Text(IDC_PARAM_CUT_SHEET), L"40");
        EXPECT_EQ(Text(IDC_PARAM_FRONT_TRACTOR), L"36");
        EXPECT_EQ(Text(IDC_PARAM_REAR_TRACTOR), L"96");
        EXPECT_EQ(::IsDlgButtonChecked(Page().m_hWnd, IDC_PARAM_POSTCARD_OFF), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(Page().m_hWnd, IDC_PARAM_POSTCARD_ON), BST_UNCHECKED);
        EXPECT_EQ(Text(IDC_PARAM_INTAKE_TIME), L"2");
        EXPECT_EQ(ListText(IDC_PARAM_RETURN_TIME), W("１５秒"));
        EXPECT_EQ(ListText(IDC_PARAM_AGA_TIME), W("１０秒"));
        for (const int id : {IDC_PARAM_LF_SHEET_GUIDE, IDC_PARAM_LF_SHEET_FEEDER, IDC_PARAM_LF_FRONT_TRACTOR,
                             IDC_PARAM_LF_REAR_TRACTOR})
            EXPECT_EQ(ListText(id), L"0") << id;
        EXPECT_FALSE(Page().CentringCheckPending());

        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(dlg.workingBlock, qv::FactoryDefaults);
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ParamPageTest, ListsAndSpinRangesAreSetUp)
{
    Run([&] {
        const std::pair<int, LRESULT> counts[] = {
            {IDC_PARAM_FONT1, 5},
            {IDC_PARAM_FONT2, 5},
            {IDC_PARAM_KANJI_TABLE, 3},
            {IDC_PARAM_AGA_TIME, 8},
            {IDC_PARAM_RETURN_TIME, 3},
            {IDC_PARAM_LF_SHEET_GUIDE, 11},
            {IDC_PARAM_LF_SHEET_FEEDER, 11},
            {IDC_PARAM_LF_FRONT_TRACTOR, 11},
            {IDC_PARAM_LF_REAR_TRACTOR, 11},
        };
        for (const auto& [id, count] : counts)
            EXPECT_EQ(Page().SendDlgItemMessage(id, CB_GETCOUNT), count) << id;
        wchar_t text[32] = {};
        Page().SendDlgItemMessage(IDC_PARAM_AGA_TIME, CB_GETLBTEXT, 7, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), W("再実行なし"));
        Page().SendDlgItemMessage(IDC_PARAM_LF_REAR_TRACTOR, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), L"-5");
        Page().SendDlgItemMessage(IDC_PARAM_FONT2, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), L"OCR-B");

        const struct {
            int spin, low, high;
        } spins[] = {{IDC_PARAM_CUT_SHEET_SPIN, 10, 68},
                     {IDC_PARAM_FRONT_TRACTOR_SPIN, 10, 68},
                     {IDC_PARAM_REAR_TRACTOR_SPIN, 68, 126},
                     {IDC_PARAM_INTAKE_TIME_SPIN, 2, 5}};
        for (const auto& s : spins) {
            int low = -1, high = -1;
            Page().SendDlgItemMessage(s.spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                                      reinterpret_cast<LPARAM>(&high));
            EXPECT_EQ(low, s.low) << s.spin;
            EXPECT_EQ(high, s.high) << s.spin;
        }
    });
}

TEST_F(ParamPageTest, ExtremeAndOutOfRangeValuesLoadWithoutReportingAnEdit)
{
    Run([&] {
        dlg.EnableSendCommand(false);
        qv::SettingsBlock block = qv::FactoryDefaults;
        block[16] = '4';
        block[18] = '3';
        block[20] = '2';
        block[24] = '1';
        std::copy_n("05", 2, block.begin() + 28);  // below range: 40
        std::copy_n("68", 2, block.begin() + 31);
        std::copy_n("200", 3, block.begin() + 34);  // above range: 96
        std::copy_n("00", 2, block.begin() + 243);
        block[247] = '5';
        std::copy_n("07", 2, block.begin() + 249);
        std::copy_n("FB", 2, block.begin() + 252);
        std::copy_n("05", 2, block.begin() + 255);
        std::copy_n("09", 2, block.begin() + 258);  // repaired to "00"
        std::copy_n("FF", 2, block.begin() + 261);
        dlg.workingBlock = block;
        dlg.DistributeToPages(dlg.workingBlock);
        dlg.PumpPendingMessages();

        EXPECT_FALSE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_FALSE(Page().CentringCheckPending());
        EXPECT_EQ(ListText(IDC_PARAM_FONT1), L"OCR-B");
        EXPECT_EQ(ListText(IDC_PARAM_FONT2), W("ゴシック"));
        EXPECT_EQ(ListText(IDC_PARAM_KANJI_TABLE), W("JIS1990年版"));
        EXPECT_EQ(::IsDlgButtonChecked(Page().m_hWnd, IDC_PARAM_POSTCARD_ON), BST_CHECKED);
        EXPECT_EQ(Text(IDC_PARAM_CUT_SHEET), L"40");
        EXPECT_EQ(Text(IDC_PARAM_FRONT_TRACTOR), L"68");
        EXPECT_EQ(Text(IDC_PARAM_REAR_TRACTOR), L"96");
        EXPECT_EQ(Text(IDC_PARAM_INTAKE_TIME), L"5");
        EXPECT_EQ(ListText(IDC_PARAM_RETURN_TIME), W("自動戻り無し"));
        EXPECT_EQ(ListText(IDC_PARAM_AGA_TIME), W("再実行なし"));
        EXPECT_EQ(ListText(IDC_PARAM_LF_FRONT_TRACTOR), L"-5");
        EXPECT_EQ(ListText(IDC_PARAM_LF_REAR_TRACTOR), L"+5");
        EXPECT_EQ(ListText(IDC_PARAM_LF_SHEET_GUIDE), L"0");
        EXPECT_EQ(ListText(IDC_PARAM_LF_SHEET_FEEDER), L"-1");

        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(Bytes(dlg.workingBlock, 16, 9), std::string("4,3,2,\0,1", 9));
        EXPECT_EQ(Bytes(dlg.workingBlock, 28, 9), "40,68,096");
        EXPECT_EQ(Bytes(dlg.workingBlock, 243, 21), "00,05,07,FB,05,00,FF.");
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ParamPageTest, CentringBoxesCorrectWhatIsTypedIntoThem)
{
    const Typed cases[] = {
        {L"", L"10", false},   {L"7", L"10", false},    {L"0", L"10", false},   {L"9", L"10", false},
        {L"99", L"68", false}, {L"69", L"68", false},   {L"10", L"10", false},  {L"68", L"68", false},
        {L"1", L"1", true},    {L"6", L"6", true},      {L"5", L"5", true},     {L"0040", L"40", false},
        {L"0005", L"5", true}, {L"4000", L"68", false}, {L"123", L"68", false},
    };
    Run([&] {
        dlg.SelectPage(kTabParam);
        for (const int id : {IDC_PARAM_CUT_SHEET, IDC_PARAM_FRONT_TRACTOR}) {
            for (const Typed& c : cases) {
                dlg.EnableSendCommand(false);
                Type(id, c.typed);
                EXPECT_EQ(Text(id), c.shown) << id << " typed " << Narrow(c.typed);
                EXPECT_EQ(Page().CentringCheckPending(), c.pending) << id << " typed " << Narrow(c.typed);
                EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND)) << id << " typed " << Narrow(c.typed);
            }
        }
        // A pending value is collected as it stands; completing it clears the flag.
        Type(IDC_PARAM_CUT_SHEET, L"5");
        EXPECT_TRUE(Page().CentringCheckPending());
        EXPECT_EQ(Bytes(dlg.workingBlock, 28, 2), "05");
        Append(IDC_PARAM_CUT_SHEET, L"0");
        EXPECT_EQ(Text(IDC_PARAM_CUT_SHEET), L"50");
        EXPECT_FALSE(Page().CentringCheckPending());
        EXPECT_EQ(Bytes(dlg.workingBlock, 28, 2), "50");

        Type(IDC_PARAM_FRONT_TRACTOR, L"2");
        Append(IDC_PARAM_FRONT_TRACTOR, L"5");
        EXPECT_EQ(Text(IDC_PARAM_FRONT_TRACTOR), L"25");
        EXPECT_FALSE(Page().CentringCheckPending());
        EXPECT_EQ(Bytes(dlg.workingBlock, 31, 2), "25");
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ParamPageTest, RearTractorBoxCorrectsWhatIsTypedIntoIt)
{
    const Typed cases[] = {
        {L"", L"68", false},     {L"2", L"68", false},      {L"0", L"68", false},    {L"5", L"68", false},
        {L"1", L"1", true},      {L"12", L"12", true},      {L"6", L"6", true},      {L"67", L"67", true},
        {L"120", L"120", false}, {L"68", L"68", false},     {L"126", L"126", false}, {L"127", L"126", false},
        {L"999", L"126", false}, {L"00100", L"100", false}, {L"00012", L"12", true},
    };
    Run([&] {
        dlg.SelectPage(kTabParam);
        for (const Typed& c : cases) {
            dlg.EnableSendCommand(false);
            Type(IDC_PARAM_REAR_TRACTOR, c.typed);
            EXPECT_EQ(Text(IDC_PARAM_REAR_TRACTOR), c.shown) << "typed " << Narrow(c.typed);
            EXPECT_EQ(Page().CentringCheckPending(), c.pending) << "typed " << Narrow(c.typed);
            EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND)) << "typed " << Narrow(c.typed);
        }
        Type(IDC_PARAM_REAR_TRACTOR, L"1");
        Append(IDC_PARAM_REAR_TRACTOR, L"2");
        EXPECT_TRUE(Page().CentringCheckPending());
        Append(IDC_PARAM_REAR_TRACTOR, L"0");
        EXPECT_EQ(Text(IDC_PARAM_REAR_TRACTOR), L"120");
        EXPECT_FALSE(Page().CentringCheckPending());
        EXPECT_EQ(Bytes(dlg.workingBlock, 34, 3), "120");
    });
}

TEST_F(ParamPageTest, IntakeTimeBoxNeverKeepsAValueOutsideTwoToFive)
{
    const Typed cases[] = {
        {L"", L"2", false},    {L"0", L"2", false},  {L"1", L"2", false}, {L"6", L"5", false},
        {L"9", L"5", false},   {L"10", L"5", false}, {L"3", L"3", false}, {L"5", L"5", false},
        {L"005", L"5", false}, {L"2", L"2", false},
    };
    Run([&] {
        dlg.SelectPage(kTabParam);
        for (const Typed& c : cases) {
            dlg.EnableSendCommand(false);
            Type(IDC_PARAM_INTAKE_TIME, c.typed);
            EXPECT_EQ(Text(IDC_PARAM_INTAKE_TIME), c.shown) << "typed " << Narrow(c.typed);
            EXPECT_FALSE(Page().CentringCheckPending());
            EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        }
        Type(IDC_PARAM_INTAKE_TIME, L"4");
        EXPECT_EQ(dlg.workingBlock[247], '4');
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ParamPageTest, ArrowKeysStepTheEntriesWithinTheirRanges)
{
    Run([&] {
        dlg.SelectPage(kTabParam);
        const struct {
            int id;
            const wchar_t* start;
            UINT key;
            const wchar_t* shown;
        } steps[] = {
            {IDC_PARAM_CUT_SHEET, L"40", VK_UP, L"41"},       {IDC_PARAM_CUT_SHEET, L"68", VK_UP, L"68"},
            {IDC_PARAM_FRONT_TRACTOR, L"10", VK_DOWN, L"10"}, {IDC_PARAM_REAR_TRACTOR, L"126", VK_UP, L"126"},
            {IDC_PARAM_REAR_TRACTOR, L"68", VK_DOWN, L"68"},  {IDC_PARAM_INTAKE_TIME, L"5", VK_UP, L"5"},
            {IDC_PARAM_INTAKE_TIME, L"3", VK_DOWN, L"2"},
        };
        for (const auto& s : steps) {
            Type(s.id, s.start);
            dlg.EnableSendCommand(false);
            PressKey(dlg, Item(s.id), s.key);
            EXPECT_EQ(Text(s.id), s.shown) << s.id << " from " << Narrow(s.start);
            if (std::wstring(s.start) != s.shown) {
                EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND)) << s.id << " from " << Narrow(s.start);
            }
        }
        EXPECT_EQ(Bytes(dlg.workingBlock, 28, 9), "68,10,068");
        EXPECT_EQ(dlg.workingBlock[247], '2');
        EXPECT_FALSE(Page().CentringCheckPending());
    });
}

TEST_F(ParamPageTest, PendingEntryStopsTheCommandAndIsCorrectedOnTheParameterPage)
{
    Run([&] {
        dlg.SelectPage(kTabParam);
        Type(IDC_PARAM_FRONT_TRACTOR, L"6");
        ASSERT_TRUE(Page().CentringCheckPending());
        dlg.SelectPage(4);

        bool pageShownDuringMessage = false;
        boxes.OnShow([&](const MessageBoxCall&) { pageShownDuringMessage = Page().IsWindowVisible(); });
        EXPECT_FALSE(dlg.PassPendingGate());
        ASSERT_EQ(boxes.Calls().size(), 1u);
        const MessageBoxCall& call = boxes.Calls()[0];
        EXPECT_EQ(call.text,
                  W("用紙吸入時ヘッドセンタリング位置の値が設定範囲を超えています。\n適正値に変更します。"));
        EXPECT_EQ(call.caption, W("パラメータ設定－用紙吸入時ヘッドセンタリング位置"));
        EXPECT_EQ(call.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(call.owner, Page().m_hWnd);
        EXPECT_TRUE(pageShownDuringMessage);
        EXPECT_EQ(dlg.CurrentTab(), kTabParam);
        EXPECT_EQ(Text(IDC_PARAM_FRONT_TRACTOR), L"10");
        EXPECT_EQ(::GetFocus(), Item(IDC_PARAM_FRONT_TRACTOR));
        EXPECT_FALSE(Page().CentringCheckPending());

        EXPECT_TRUE(dlg.PassPendingGate());
        EXPECT_EQ(boxes.Calls().size(), 1u);
    });
}

TEST_F(ParamPageTest, EveryPendingBoxIsCorrectedAndTheLastOneTakesTheFocus)
{
    Run([&] {
        dlg.SelectPage(kTabParam);
        Type(IDC_PARAM_CUT_SHEET, L"3");
        Type(IDC_PARAM_REAR_TRACTOR, L"7");
        ASSERT_TRUE(Page().CentringCheckPending());
        Type(IDC_PARAM_INTAKE_TIME, L"4");
        EXPECT_TRUE(Page().CentringCheckPending());

        Page().CorrectCentringValues();
        EXPECT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(Text(IDC_PARAM_CUT_SHEET), L"10");
        EXPECT_EQ(Text(IDC_PARAM_FRONT_TRACTOR), L"36");
        EXPECT_EQ(Text(IDC_PARAM_REAR_TRACTOR), L"68");
        EXPECT_EQ(::GetFocus(), Item(IDC_PARAM_REAR_TRACTOR));
        EXPECT_FALSE(Page().CentringCheckPending());
        EXPECT_EQ(Bytes(dlg.workingBlock, 28, 9), "10,36,068");
    });
}

TEST_F(ParamPageTest, LoadingClearsPendingEntries)
{
    Run([&] {
        dlg.SelectPage(kTabParam);
        Type(IDC_PARAM_CUT_SHEET, L"5");
        Type(IDC_PARAM_REAR_TRACTOR, L"1");
        ASSERT_TRUE(Page().CentringCheckPending());

        dlg.workingBlock = qv::FactoryDefaults;
        dlg.DistributeToPages(dlg.workingBlock);
        EXPECT_FALSE(Page().CentringCheckPending());
        EXPECT_EQ(Text(IDC_PARAM_CUT_SHEET), L"40");
        EXPECT_EQ(Text(IDC_PARAM_REAR_TRACTOR), L"96");

        // A later save or send keeps the loaded values.
        EXPECT_TRUE(dlg.PassPendingGate());
        dlg.OnDataCheck();
        EXPECT_EQ(dlg.workingBlock, qv::FactoryDefaults);
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ParamPageTest, RefusedIntakeTimeStopsThePageButNotTheCollect)
{
    Run([&] {
        dlg.SelectPage(0);
        SetUnfocused(IDC_PARAM_INTAKE_TIME, L"9");  // its own data check already collects
        EXPECT_EQ(Text(IDC_PARAM_INTAKE_TIME), L"9");
        boxes.Clear();

        SetListQuietly(IDC_PARAM_FONT1, "OCR-B");               // read before the intake time
        SetListQuietly(IDC_PARAM_RETURN_TIME, "自動戻り無し");  // after it: not read
        ::CheckRadioButton(dlg.pageMsw1.m_hWnd, IDC_MSW1_RX_COMPAT, IDC_MSW1_RX_FAST, IDC_MSW1_RX_FAST);
        dlg.CollectFromPages(dlg.workingBlock);

        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, W("2 から 5 までの整数を入力してください。"));
        EXPECT_EQ(::GetFocus(), Item(IDC_PARAM_INTAKE_TIME));
        EXPECT_EQ(dlg.workingBlock[16], '4');
        EXPECT_EQ(Bytes(dlg.workingBlock, 243, 2), "15");
        // The refused value never reaches the block.
        EXPECT_EQ(dlg.workingBlock[247], '2');
        // The pages after this one are still collected.
        EXPECT_EQ(dlg.workingBlock[4], 0x08);
    });
}

TEST_F(ParamPageTest, CentringBoxWithoutANumberIsRefusedAtTheCollect)
{
    Run([&] {
        dlg.SelectPage(0);
        SetUnfocused(IDC_PARAM_FRONT_TRACTOR, L"50");
        SetUnfocused(IDC_PARAM_CUT_SHEET, L"");
        EXPECT_EQ(Text(IDC_PARAM_CUT_SHEET), L"");  // not corrected without the focus
        boxes.Clear();

        SetListQuietly(IDC_PARAM_LF_SHEET_GUIDE, "+5");  // after the cut-sheet box: not read
        dlg.CollectFromPages(dlg.workingBlock);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, W("整数を入力してください。"));
        EXPECT_EQ(::GetFocus(), Item(IDC_PARAM_CUT_SHEET));
        EXPECT_EQ(Bytes(dlg.workingBlock, 28, 5), "40,50");
        EXPECT_EQ(Bytes(dlg.workingBlock, 258, 2), "00");
    });
}

TEST_F(ParamPageTest, ListsAndPostcardButtonsReportEdits)
{
    Run([&] {
        dlg.SelectPage(kTabParam);
        dlg.EnableSendCommand(false);
        Page().SendDlgItemMessage(IDC_PARAM_POSTCARD_ON, BM_CLICK);
        dlg.PumpPendingMessages();
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(dlg.workingBlock[24], '1');

        // Focusing a list without changing it counts as an edit.
        const HWND aga = Item(IDC_PARAM_AGA_TIME);
        dlg.EnableSendCommand(false);
        ::SetFocus(aga);
        dlg.PumpPendingMessages();
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(Bytes(dlg.workingBlock, 249, 2), "02");

        dlg.EnableSendCommand(false);
        PressKey(dlg, aga, VK_DOWN);
        EXPECT_EQ(ListText(IDC_PARAM_AGA_TIME), W("６０秒"));
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(Bytes(dlg.workingBlock, 249, 2), "03");

        const HWND lf = Item(IDC_PARAM_LF_REAR_TRACTOR);
        ::SetFocus(lf);
        dlg.PumpPendingMessages();
        dlg.EnableSendCommand(false);
        PressKey(dlg, lf, VK_UP);
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(Bytes(dlg.workingBlock, 255, 2), "FF");
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

}  // namespace

namespace {

TEST_F(ParamPageTest, TabOrderRunsDownTheLeftColumnThenTheRight)
{
    const int order[] = {IDC_PARAM_CUT_SHEET,
                         IDC_PARAM_FRONT_TRACTOR,
                         IDC_PARAM_REAR_TRACTOR,
                         IDC_PARAM_FONT1,
                         IDC_PARAM_FONT2,
                         IDC_PARAM_POSTCARD_OFF,
                         IDC_PARAM_INTAKE_TIME,
                         IDC_PARAM_KANJI_TABLE,
                         IDC_PARAM_AGA_TIME,
                         IDC_PARAM_RETURN_TIME,
                         IDC_PARAM_LF_SHEET_GUIDE,
                         IDC_PARAM_LF_SHEET_FEEDER,
                         IDC_PARAM_LF_FRONT_TRACTOR,
                         IDC_PARAM_LF_REAR_TRACTOR};
    Run([&] {
        HWND control = Item(order[0]);
        for (std::size_t i = 1; i < std::size(order); ++i) {
            control = ::GetNextDlgTabItem(Page().m_hWnd, control, FALSE);
            EXPECT_EQ(::GetDlgCtrlID(control), order[i]) << "after " << order[i - 1];
        }
        // The last stop leads back to the first.
        EXPECT_EQ(::GetNextDlgTabItem(Page().m_hWnd, control, FALSE), Item(order[0]));
    });
}

}  // namespace
