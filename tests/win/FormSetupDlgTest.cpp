#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <string>
#include <utility>

#include "TestSupport.h"
#include "framework/Text.h"
#include "resource.h"
#include "PanelUnderTest.h"

namespace {

std::string Bytes(const qv::SettingsBlock& block, std::size_t at, std::size_t count)
{
    return std::string(block.begin() + static_cast<std::ptrdiff_t>(at),
                       block.begin() + static_cast<std::ptrdiff_t>(at + count));
}

const int kLoadBoxes[] = {IDC_FORM_FRONT_EDIT, IDC_FORM_REAR_EDIT, IDC_FORM_GUIDE_EDIT, IDC_FORM_FEEDER_EDIT,
                          IDC_FORM_POSTCARD_EDIT};
const int kTracks[] = {IDC_FORM_FRONT_TRACK, IDC_FORM_REAR_TRACK, IDC_FORM_GUIDE_TRACK, IDC_FORM_FEEDER_TRACK,
                       IDC_FORM_POSTCARD_TRACK};
const int kMarginControls[] = {IDC_FORM_LMARGIN_LABEL, IDC_FORM_RMARGIN_LABEL, IDC_FORM_LMARGIN_EDIT,
                               IDC_FORM_RMARGIN_EDIT,  IDC_FORM_LMARGIN_SPIN,  IDC_FORM_RMARGIN_SPIN,
                               IDC_FORM_LMARGIN_UNIT,  IDC_FORM_RMARGIN_UNIT};

class FormSetupDlgTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    PanelUnderTest dlg;

    void Run(const std::function<void()>& body) { RunModal(dlg, body); }
    CFormSetupDlg& Form() { return dlg.pageSelect.formDlg; }
    HWND Item(int id) { return Form().GetDlgItem(id); }
    std::wstring Text(int id) { return Form().GetDlgItemText(id); }
    int Step(int track) { return static_cast<int>(::SendMessageW(Item(track), TBM_GETPOS, 0, 0)); }
    void Type(int id, const wchar_t* text) { TypeText(Form(), Item(id), text); }
    void PressOk() { Form().SendMessage(WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(Item(IDOK))); }

    void ChooseForm(int form)
    {
        const HWND list = dlg.pageSelect.GetDlgItem(IDC_SELECT_FORM_LIST);
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(form), 0);
        dlg.pageSelect.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SELECT_FORM_LIST, CBN_SELCHANGE),
                                   reinterpret_cast<LPARAM>(list));
    }

    // A list losing the focus reports to the main window like any other
    // notification; the page's button reports nothing.
    void QuietFocus() { ::SetFocus(dlg.pageSelect.GetDlgItem(IDC_SELECT_FORM_BUTTON)); }

    // Opens the dialog with the page's button; what body leaves open is cancelled.
    void OpenForm(const std::function<void()>& body)
    {
        bool ran = false;
        CDialog::QueueModalScript([&](CDialog& form) {
            ran = true;
            body();
            if (!form.IsModalEnding())
                form.EndDialog(IDCANCEL);
        });
        ::SendMessageW(dlg.pageSelect.GetDlgItem(IDC_SELECT_FORM_BUTTON), BM_CLICK, 0, 0);
        EXPECT_TRUE(ran);
    }

    void ExpectFocusWithTextSelected(int id)
    {
        EXPECT_EQ(::GetFocus(), Item(id));
        DWORD start = 1, end = 0;
        ::SendMessageW(Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, Text(id).size());
    }
};

TEST_F(FormSetupDlgTest, FactoryFormOneOpensWithItsValues)
{
    Run([&] {
        ChooseForm(1);
        OpenForm([&] {
            EXPECT_EQ(Form().GetWindowText(), W("書式の設定： 書式１"));
            EXPECT_EQ(Text(IDC_FORM_LENGTH_EDIT), L"66");
            EXPECT_EQ(Text(IDC_FORM_LMARGIN_EDIT), L"0");
            EXPECT_EQ(Text(IDC_FORM_RMARGIN_EDIT), L"136");
            const wchar_t* positions[] = {L"120", L"120", L"46", L"46", L"54"};
            const int steps[] = {9, 9, 7, 7, 7};
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(Text(kLoadBoxes[i]), positions[i]) << i;
                EXPECT_EQ(Step(kTracks[i]), steps[i]) << i;
                EXPECT_EQ(::SendMessageW(Item(kTracks[i]), TBM_GETRANGEMIN, 0, 0), 0);
                EXPECT_EQ(::SendMessageW(Item(kTracks[i]), TBM_GETRANGEMAX, 0, 0), 9);
            }
            EXPECT_EQ(Text(IDC_FORM_FRONT_CORR_EDIT), L"0");
            EXPECT_EQ(Text(IDC_FORM_CUT_CORR_EDIT), L"0");
            for (const int id : kMarginControls)
                EXPECT_TRUE(::IsWindowEnabled(Item(id))) << id;

            const struct {
                int spin, low, high;
            } spins[] = {{IDC_FORM_FRONT_SPIN, 0, 170},     {IDC_FORM_REAR_SPIN, 0, 170},
                         {IDC_FORM_GUIDE_SPIN, 0, 170},     {IDC_FORM_FEEDER_SPIN, 0, 170},
                         {IDC_FORM_POSTCARD_SPIN, 0, 170},  {IDC_FORM_LENGTH_SPIN, 1, 99},
                         {IDC_FORM_LMARGIN_SPIN, 0, 135},   {IDC_FORM_RMARGIN_SPIN, 1, 136},
                         {IDC_FORM_FRONT_CORR_SPIN, 0, 68}, {IDC_FORM_CUT_CORR_SPIN, 0, 68}};
            for (const auto& s : spins) {
                int low = -1, high = -1;
                ::SendMessageW(Item(s.spin), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                               reinterpret_cast<LPARAM>(&high));
                EXPECT_EQ(low, s.low) << s.spin;
                EXPECT_EQ(high, s.high) << s.spin;
            }
        });
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(FormSetupDlgTest, TypedLoadPositionsMoveTheTrackbarsAndOkStoresThem)
{
    Run([&] {
        ChooseForm(1);
        QuietFocus();
        dlg.EnableSendCommand(false);
        OpenForm([&] {
            Type(IDC_FORM_FRONT_EDIT, L"50");
            EXPECT_EQ(Text(IDC_FORM_FRONT_EDIT), L"50");
            EXPECT_EQ(Step(IDC_FORM_FRONT_TRACK), 7);
            const struct {
                const wchar_t* typed;
                const wchar_t* shown;
                int step;
            } cases[] = {{L"200", L"170", 9}, {L"24", L"24", 3}, {L"90", L"90", 8},
                         {L"17", L"17", 2},   {L"-5", L"0", 0},  {L"0120", L"0120", 9}};
            for (const auto& c : cases) {
                Type(IDC_FORM_REAR_EDIT, c.typed);
                EXPECT_EQ(Text(IDC_FORM_REAR_EDIT), c.shown) << c.typed;
                EXPECT_EQ(Step(IDC_FORM_REAR_TRACK), c.step) << c.typed;
            }
            // The postcard steps differ at step 7: 54 instead of 46.
            Type(IDC_FORM_POSTCARD_EDIT, L"50");
            EXPECT_EQ(Step(IDC_FORM_POSTCARD_TRACK), 7);
            Type(IDC_FORM_GUIDE_EDIT, L"50");
            EXPECT_EQ(Step(IDC_FORM_GUIDE_TRACK), 7);
            Type(IDC_FORM_REAR_EDIT, L"24");
            PressOk();
            EXPECT_TRUE(Form().IsModalEnding());
        });
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(Bytes(dlg.workingBlock, 87, 37), "66,000,136,050,024,050,046,050,00,00,");
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(FormSetupDlgTest, TypedValuesAreClampedToTheirLimits)
{
    Run([&] {
        ChooseForm(2);
        QuietFocus();
        dlg.EnableSendCommand(false);
        OpenForm([&] {
            const struct {
                int box;
                const wchar_t* typed;
                const wchar_t* shown;
            } cases[] = {
                {IDC_FORM_LENGTH_EDIT, L"0005", L"5"},   {IDC_FORM_LENGTH_EDIT, L"0", L"1"},
                {IDC_FORM_LENGTH_EDIT, L"150", L"99"},   {IDC_FORM_LENGTH_EDIT, L"99", L"99"},
                {IDC_FORM_FRONT_EDIT, L"99999", L"170"}, {IDC_FORM_FRONT_EDIT, L"0050", L"0050"},
                {IDC_FORM_LMARGIN_EDIT, L"200", L"135"}, {IDC_FORM_RMARGIN_EDIT, L"0", L"1"},
                {IDC_FORM_RMARGIN_EDIT, L"137", L"136"}, {IDC_FORM_FRONT_CORR_EDIT, L"99", L"68"},
                {IDC_FORM_CUT_CORR_EDIT, L"069", L"68"}, {IDC_FORM_CUT_CORR_EDIT, L"0068", L"68"},
            };
            for (const auto& c : cases) {
                Type(c.box, c.typed);
                EXPECT_EQ(Text(c.box), c.shown) << c.box << " " << Narrow(c.typed);
            }
        });
        // Cancelled: nothing reported, nothing kept.
        EXPECT_FALSE(dlg.IsCommandEnabled(ID_SEND));
        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(Bytes(dlg.workingBlock, 126, 37), Bytes(qv::FactoryDefaults, 126, 37));
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(FormSetupDlgTest, ChangesNotTypedAreNotClampedButRefusedOnOk)
{
    Run([&] {
        ChooseForm(1);
        QuietFocus();
        dlg.EnableSendCommand(false);
        OpenForm([&] {
            ::SetFocus(Item(IDOK));
            Form().SetDlgItemText(IDC_FORM_FEEDER_EDIT, L"200");
            EXPECT_EQ(Text(IDC_FORM_FEEDER_EDIT), L"200");
            EXPECT_EQ(Step(IDC_FORM_FEEDER_TRACK), 9);
            // A long number that stays long is left alone rather than rewritten forever.
            Form().SetDlgItemText(IDC_FORM_POSTCARD_EDIT, L"12345");
            EXPECT_EQ(Text(IDC_FORM_POSTCARD_EDIT), L"12345");
            EXPECT_EQ(Step(IDC_FORM_POSTCARD_TRACK), 9);
            Form().SetDlgItemText(IDC_FORM_POSTCARD_EDIT, L"54");
            // Too long a text is rewritten whoever wrote it.
            Form().SetDlgItemText(IDC_FORM_LENGTH_EDIT, L"0005");
            EXPECT_EQ(Text(IDC_FORM_LENGTH_EDIT), L"5");

            PressOk();
            EXPECT_FALSE(Form().IsModalEnding());
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].text, W("0 から 170 までの整数を入力してください。"));
            ExpectFocusWithTextSelected(IDC_FORM_FEEDER_EDIT);
        });
        EXPECT_FALSE(dlg.IsCommandEnabled(ID_SEND));
        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(Bytes(dlg.workingBlock, 87, 37), Bytes(qv::FactoryDefaults, 87, 37));
    });
}

TEST_F(FormSetupDlgTest, DraggingATrackbarWritesItsStepValue)
{
    Run([&] {
        ChooseForm(4);
        OpenForm([&] {
            const wchar_t* expected[] = {L"46", L"46", L"46", L"46", L"54"};
            for (int i = 4; i >= 0; --i) {
                const HWND track = Item(kTracks[i]);
                ::SetFocus(track);
                ::SendMessageW(track, TBM_SETPOS, TRUE, 7);
                Form().SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 7),
                                   reinterpret_cast<LPARAM>(track));
                EXPECT_EQ(Text(kLoadBoxes[i]), expected[i]) << i;
                EXPECT_EQ(Step(kTracks[i]), 7) << i;
            }
            // Only the focused trackbar counts.
            ::SetFocus(Item(IDC_FORM_LENGTH_EDIT));
            const HWND front = Item(IDC_FORM_FRONT_TRACK);
            ::SendMessageW(front, TBM_SETPOS, TRUE, 9);
            Form().SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 9), reinterpret_cast<LPARAM>(front));
            EXPECT_EQ(Text(IDC_FORM_FRONT_EDIT), L"46");

            // The keyboard moves a trackbar as a user does.
            ::SetFocus(Item(IDC_FORM_GUIDE_TRACK));
            PressKey(Form(), Item(IDC_FORM_GUIDE_TRACK), VK_RIGHT);
            EXPECT_EQ(Step(IDC_FORM_GUIDE_TRACK), 8);
            EXPECT_EQ(Text(IDC_FORM_GUIDE_EDIT), L"60");
            PressOk();
        });
        EXPECT_EQ(Bytes(dlg.workingBlock, 204, 37), "66,000,136,046,046,060,046,054,00,00,");
    });
}

TEST_F(FormSetupDlgTest, MarginsOutOfOrderAreCorrectedAndTheDialogStaysOpen)
{
    Run([&] {
        ChooseForm(3);
        OpenForm([&] {
            Type(IDC_FORM_LMARGIN_EDIT, L"80");
            Type(IDC_FORM_RMARGIN_EDIT, L"80");
            PressOk();
            EXPECT_FALSE(Form().IsModalEnding());
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].text,
                      W("ライトマージン幅はレフトマージン幅より大きくしてください。適正値に変更します。"));
            EXPECT_EQ(boxes.Calls()[0].caption, W("レフトマージン幅／ライトマージン幅"));
            EXPECT_EQ(boxes.Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
            EXPECT_EQ(Text(IDC_FORM_RMARGIN_EDIT), L"81");
            ExpectFocusWithTextSelected(IDC_FORM_RMARGIN_EDIT);
            EXPECT_EQ(std::string(dlg.pageSelect.Forms().recordBuffers[3].data(), 37),
                      Bytes(qv::FactoryDefaults, 165, 37));

            PressOk();
            EXPECT_TRUE(Form().IsModalEnding());
        });
        EXPECT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(Bytes(dlg.workingBlock, 165, 37), "66,080,081,120,120,046,046,054,00,00,");
    });
}

TEST_F(FormSetupDlgTest, FormZeroHasNoMarginsAndWritesItsShortRecord)
{
    Run([&] {
        QuietFocus();
        dlg.EnableSendCommand(false);
        OpenForm([&] {
            EXPECT_EQ(Form().GetWindowText(), W("書式の設定： 書式０"));
            for (const int id : kMarginControls)
                EXPECT_FALSE(::IsWindowEnabled(Item(id))) << id;
            EXPECT_EQ(Text(IDC_FORM_LMARGIN_EDIT), L"0");
            EXPECT_EQ(Text(IDC_FORM_RMARGIN_EDIT), L"136");
            Type(IDC_FORM_LENGTH_EDIT, L"12");
            Type(IDC_FORM_POSTCARD_EDIT, L"7");
            Type(IDC_FORM_CUT_CORR_EDIT, L"3");
            Type(IDC_FORM_FRONT_CORR_EDIT, L"68");
            PressOk();
            EXPECT_TRUE(Form().IsModalEnding());
        });
        EXPECT_TRUE(boxes.Calls().empty());
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(Bytes(dlg.workingBlock, 38, 29), "12,120,120,046,046,007,03,68,");
        EXPECT_EQ(dlg.pageSelect.Forms().recordBuffers[0][29], '\0');
        qv::SettingsBlock expected = qv::FactoryDefaults;
        const std::string record = "12,120,120,046,046,007,03,68,";
        std::copy(record.begin(), record.end(), expected.begin() + 38);
        EXPECT_EQ(dlg.workingBlock, expected);
    });
}

TEST_F(FormSetupDlgTest, AnEmptyBoxIsRefusedAndCancelKeepsTheBlock)
{
    Run([&] {
        ChooseForm(1);
        const qv::SettingsBlock before = dlg.workingBlock;
        QuietFocus();
        dlg.EnableSendCommand(false);
        OpenForm([&] {
            Type(IDC_FORM_LENGTH_EDIT, L"40");
            Type(IDC_FORM_GUIDE_EDIT, L"");
            EXPECT_EQ(Text(IDC_FORM_GUIDE_EDIT), L"");
            ::SetFocus(Item(IDOK));
            PressOk();
            EXPECT_FALSE(Form().IsModalEnding());
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].text, W("整数を入力してください。"));
            ExpectFocusWithTextSelected(IDC_FORM_GUIDE_EDIT);
            EXPECT_EQ(std::string(dlg.pageSelect.Forms().recordBuffers[1].data(), 37), Bytes(before, 87, 37));
            PressKey(Form(), ::GetFocus(), VK_ESCAPE);
            EXPECT_TRUE(Form().IsModalEnding());
        });
        EXPECT_FALSE(dlg.IsCommandEnabled(ID_SEND));
        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(dlg.workingBlock, before);
    });
}

TEST_F(FormSetupDlgTest, OkWithoutChangesRewritesTheSameDigitsAndReports)
{
    Run([&] {
        ChooseForm(2);
        const qv::SettingsBlock before = dlg.workingBlock;
        QuietFocus();
        dlg.EnableSendCommand(false);
        OpenForm([&] { PressKey(Form(), ::GetFocus(), VK_RETURN); });
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(dlg.workingBlock, before);
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(FormSetupDlgTest, RecordsWithOtherCharactersShowTheirNumbersAndAreCheckedOnOk)
{
    Run([&] {
        qv::SettingsBlock block = qv::FactoryDefaults;
        block[126] = 'A';  // form 2 length: 17 x 10 + 0
        block[127] = '0';
        block[85] = '2';
        dlg.workingBlock = block;
        dlg.DistributeToPages(dlg.workingBlock);
        OpenForm([&] {
            EXPECT_EQ(Text(IDC_FORM_LENGTH_EDIT), L"170");
            ::SetFocus(Item(IDOK));
            PressOk();
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].text, W("1 から 99 までの整数を入力してください。"));
            ExpectFocusWithTextSelected(IDC_FORM_LENGTH_EDIT);
        });
        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(dlg.workingBlock, block);
    });
}

struct MarginRow {
    const char* left;  // the record's three characters
    const char* right;
    const wchar_t* shownLeft;
    const wchar_t* shownRight;
    const char* message;
    int refused;
};

// Records with other characters than digits in a margin open with numbers
// far outside the margins' ranges; OK must not write them back.
TEST_F(FormSetupDlgTest, MarginsOutsideTheirRangesAreRefusedOnOk)
{
    const char* const kLeftRange = "0 から 135 までの整数を入力してください。";
    const char* const kRightRange = "1 から 136 までの整数を入力してください。";
    const MarginRow rows[] = {
        {"/00", "136", L"-100", L"136", kLeftRange, IDC_FORM_LMARGIN_EDIT},
        // Above the right margin too: the range message, not a right margin of 2601.
        {"J00", "136", L"2600", L"136", kLeftRange, IDC_FORM_LMARGIN_EDIT},
        {"136", "137", L"136", L"137", kLeftRange, IDC_FORM_LMARGIN_EDIT},
        {"000", "A36", L"0", L"1736", kRightRange, IDC_FORM_RMARGIN_EDIT},
        {"010", "/50", L"10", L"-50", nullptr, IDC_FORM_RMARGIN_EDIT},  // out of order: corrected to 11
    };
    for (const MarginRow& row : rows) {
        boxes.Clear();
        Run([&] {
            qv::SettingsBlock block = qv::FactoryDefaults;
            std::copy_n(row.left, 3, block.begin() + 87 + 3);
            std::copy_n(row.right, 3, block.begin() + 87 + 7);
            block[85] = '1';  // the form in use
            dlg.workingBlock = block;
            dlg.DistributeToPages(dlg.workingBlock);
            OpenForm([&] {
                EXPECT_EQ(Text(IDC_FORM_LMARGIN_EDIT), row.shownLeft) << row.left;
                EXPECT_EQ(Text(IDC_FORM_RMARGIN_EDIT), row.shownRight) << row.right;
                ::SetFocus(Item(IDOK));
                PressOk();
                EXPECT_FALSE(Form().IsModalEnding()) << row.left;
                ASSERT_EQ(boxes.Calls().size(), 1u) << row.left;
                if (row.message)
                    EXPECT_EQ(boxes.Calls()[0].text, W(row.message)) << row.left;
                else
                    EXPECT_EQ(Text(IDC_FORM_RMARGIN_EDIT), L"11");
                ExpectFocusWithTextSelected(row.refused);
                EXPECT_EQ(std::string(dlg.pageSelect.Forms().recordBuffers[1].data(), 37),
                          Bytes(block, 87, 37));
            });
            dlg.CollectFromPages(dlg.workingBlock);
            EXPECT_EQ(dlg.workingBlock, block) << row.left;
        });
    }
}

TEST_F(FormSetupDlgTest, FullWidthDigitsAndCorrectionsInTheNumberBoxes)
{
    struct Row {
        int box;
        Entry how;
        const wchar_t* input;
        const wchar_t* shown;
    };
    const Row rows[] = {
        {IDC_FORM_FRONT_EDIT, Entry::Keys, L"\xFF15\xFF10", L"50"},
        {IDC_FORM_LENGTH_EDIT, Entry::Paste, L"\xFF16\xFF16", L"66"},
        {IDC_FORM_RMARGIN_EDIT, Entry::ImeChars, L"\xFF11\xFF10\xFF10", L"100"},
        // A corrected value is selected, so the next digits replace it.
        {IDC_FORM_LENGTH_EDIT, Entry::Keys, L"045", L"45"},
        {IDC_FORM_REAR_EDIT, Entry::Keys, L"2009", L"9"},
        {IDC_FORM_LMARGIN_EDIT, Entry::Keys, L"1508", L"8"},
        {IDC_FORM_CUT_CORR_EDIT, Entry::Keys, L"99\xFF13", L"3"},
    };
    Run([&] {
        ChooseForm(2);
        OpenForm([&] {
            for (const Row& row : rows) {
                EnterText(Form(), Item(row.box), row.how, row.input);
                EXPECT_EQ(Text(row.box), row.shown) << row.box << " " << Narrow(row.input);
            }
            EXPECT_EQ(Step(IDC_FORM_FRONT_TRACK), 7);
            for (const auto& rule :
                 {std::pair{IDC_FORM_POSTCARD_EDIT, L"200"}, std::pair{IDC_FORM_LENGTH_EDIT, L"0"}}) {
                EnterText(Form(), Item(rule.first), Entry::Keys, rule.second);
                ExpectFocusWithTextSelected(rule.first);
            }
            // No IME in any of them, where the dialog itself has one.
            if (const HIMC own = ::ImmGetContext(Form().m_hWnd)) {
                ::ImmReleaseContext(Form().m_hWnd, own);
                for (const int id : {IDC_FORM_FRONT_EDIT, IDC_FORM_LENGTH_EDIT, IDC_FORM_LMARGIN_EDIT,
                                     IDC_FORM_CUT_CORR_EDIT})
                    EXPECT_EQ(::ImmGetContext(Item(id)), nullptr) << id;
            }
            PressOk();
        });
        EXPECT_EQ(Bytes(dlg.workingBlock, 126, 37), "01,008,100,050,009,046,046,170,03,00,");
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

}  // namespace
