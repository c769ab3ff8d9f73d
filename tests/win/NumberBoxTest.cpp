// The number boxes of the parameter page as a Japanese operator types into
// them: full-width digits, the IME, and corrections that the next digit
// replaces. (The form dialog's boxes: FormSetupDlgTest.)
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <string>

#include "TestSupport.h"
#include "framework/NumberBox.h"
#include "framework/Text.h"
#include "resource.h"
#include "PanelUnderTest.h"

namespace {

constexpr int kTabParam = 1;
const int kNumberBoxes[] = {IDC_PARAM_CUT_SHEET, IDC_PARAM_FRONT_TRACTOR, IDC_PARAM_REAR_TRACTOR,
                            IDC_PARAM_INTAKE_TIME};

class NumberBoxTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    PanelUnderTest dlg;

    void Run(const std::function<void()>& body)
    {
        RunModal(dlg, [&] {
            dlg.SelectPage(kTabParam);
            body();
        });
    }
    HWND Item(int id) { return dlg.pageParam.GetDlgItem(id); }
    std::wstring Text(int id) { return dlg.pageParam.GetDlgItemText(id); }
    bool WholeTextSelected(int id)
    {
        DWORD start = 1, end = 0;
        ::SendMessageW(Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start == 0 && end == Text(id).size();
    }
};

TEST(NumberBoxText, FullWidthDigitsBecomeAsciiAndNothingElseChanges)
{
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"\xFF10\xFF11\xFF12\xFF13\xFF14\xFF15\xFF16\xFF17\xFF18\xFF19", L"0123456789"},
        {L"4\xFF15", L"45"},
        {L"", L""},
        // Neighbours of the digits, and other wide forms, stay.
        {L"\xFF0F\xFF1A\xFF0D\xFF21", L"\xFF0F\xFF1A\xFF0D\xFF21"},
        {L"-12 ab", L"-12 ab"},
    };
    for (const auto& [given, expected] : rows)
        EXPECT_EQ(ToAsciiDigits(given), expected) << Narrow(given);
}

TEST(NumberBoxText, ClipboardTextEndsWithItsBlock)
{
    const char bytes[] = {'4', 0, '5', 0, '7'};  // no zero, and half a character
    const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof bytes);
    ::CopyMemory(::GlobalLock(block), bytes, sizeof bytes);
    ::GlobalUnlock(block);
    EXPECT_EQ(ClipboardBlockText(block), L"45");
    ::GlobalFree(block);
}

struct FullWidthRow {
    const char* what;
    int box;
    Entry how;
    const wchar_t* input;
    const wchar_t* shown;
    bool pending;
};

TEST_F(NumberBoxTest, FullWidthDigitsCountAsDigits)
{
    const FullWidthRow rows[] = {
        {"typed with the IME on", IDC_PARAM_CUT_SHEET, Entry::Keys, L"\xFF15\xFF10", L"50", false},
        {"from the IME", IDC_PARAM_FRONT_TRACTOR, Entry::ImeChars, L"\xFF15", L"5", true},
        {"mixed with ASCII", IDC_PARAM_FRONT_TRACTOR, Entry::Keys, L"4\xFF15", L"45", false},
        {"pasted", IDC_PARAM_REAR_TRACTOR, Entry::Paste, L"\xFF11\xFF12\xFF10", L"120", false},
        {"pasted above the range", IDC_PARAM_CUT_SHEET, Entry::Paste, L"\xFF19\xFF19", L"68", false},
        {"replaced by a program", IDC_PARAM_INTAKE_TIME, Entry::Replace, L"\xFF13", L"3", false},
    };
    Run([&] {
        for (const FullWidthRow& row : rows) {
            EnterText(dlg, Item(row.box), row.how, row.input);
            EXPECT_EQ(Text(row.box), row.shown) << row.what;
            EXPECT_EQ(dlg.pageParam.CentringCheckPending(), row.pending) << row.what;
        }
        // What the page stores is the ASCII value.
        EnterText(dlg, Item(IDC_PARAM_CUT_SHEET), Entry::Keys, L"\xFF15\xFF10");
        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(dlg.pageParam.Values().headCentringCutSheet, 50);
    });
}

TEST_F(NumberBoxTest, TheImeIsOffInTheNumberBoxesOnly)
{
    Run([&] {
        const HIMC other = ::ImmGetContext(Item(IDC_PARAM_FONT1));
        if (!other)
            GTEST_SKIP() << "no input context anywhere: the prefix has no IME";
        ::ImmReleaseContext(Item(IDC_PARAM_FONT1), other);
        for (const int id : kNumberBoxes) {
            ::SetFocus(Item(id));
            const HIMC context = ::ImmGetContext(Item(id));
            EXPECT_EQ(context, nullptr) << id;
            if (context)
                ::ImmReleaseContext(Item(id), context);
        }
    });
}

struct CorrectionRow {
    int box;
    const wchar_t* keys;
    const wchar_t* shown;
};

TEST_F(NumberBoxTest, ACorrectedValueIsSelectedSoTheNextDigitReplacesIt)
{
    const CorrectionRow rows[] = {
        {IDC_PARAM_CUT_SHEET, L"7", L"10"},         // corrected, selected
        {IDC_PARAM_CUT_SHEET, L"74", L"4"},         // the 4 replaced the 10
        {IDC_PARAM_CUT_SHEET, L"740", L"40"},       // and the 0 follows the 4
        {IDC_PARAM_FRONT_TRACTOR, L"6925", L"25"},  // 69 became 68, then 25 was typed
        {IDC_PARAM_REAR_TRACTOR, L"2120", L"120"}, {IDC_PARAM_INTAKE_TIME, L"93", L"3"},
    };
    Run([&] {
        for (const CorrectionRow& row : rows) {
            EnterText(dlg, Item(row.box), Entry::Keys, row.keys);
            EXPECT_EQ(Text(row.box), row.shown) << Narrow(row.keys);
        }
        for (const int id : kNumberBoxes) {
            EnterText(dlg, Item(id), Entry::Keys, L"0");
            EXPECT_TRUE(WholeTextSelected(id)) << id << " shows " << Narrow(Text(id));
        }
        // Typing that needs no correction leaves the caret after the digit.
        EnterText(dlg, Item(IDC_PARAM_CUT_SHEET), Entry::Keys, L"5");
        EXPECT_FALSE(WholeTextSelected(IDC_PARAM_CUT_SHEET));
    });
}

TEST_F(NumberBoxTest, ThePendingCorrectionIsSelectedToo)
{
    Run([&] {
        EnterText(dlg, Item(IDC_PARAM_FRONT_TRACTOR), Entry::Keys, L"5");
        ASSERT_TRUE(dlg.pageParam.CentringCheckPending());
        dlg.SendCommand(ID_SEND);
        EXPECT_EQ(::GetFocus(), Item(IDC_PARAM_FRONT_TRACTOR));
        EXPECT_EQ(Text(IDC_PARAM_FRONT_TRACTOR), L"10");
        EXPECT_TRUE(WholeTextSelected(IDC_PARAM_FRONT_TRACTOR));
        for (const wchar_t c : std::wstring(L"44"))
            ::SendMessageW(Item(IDC_PARAM_FRONT_TRACTOR), WM_CHAR, c, 1);
        EXPECT_EQ(Text(IDC_PARAM_FRONT_TRACTOR), L"44");
    });
    EXPECT_EQ(boxes.Calls().size(), 1u) << "the page's range message";
}

}  // namespace
