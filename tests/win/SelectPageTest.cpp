#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

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

class SelectPageTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    PanelUnderTest dlg;

    void Run(const std::function<void()>& body) { RunModal(dlg, body); }
    CPage_Select& Page() { return dlg.pageSelect; }
    HWND Control(int id) { return Page().GetDlgItem(id); }

    std::wstring ListText(int id)
    {
        const HWND list = Control(id);
        const LRESULT sel = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (sel == CB_ERR)
            return L"<none>";
        wchar_t text[64] = {};
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
        return text;
    }
    bool Checked(int id) { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    // Picks an entry the way the control reports a user's choice.
    void Choose(int id, const char* entry)
    {
        const HWND list = Control(id);
        const LRESULT index = ::SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(W(entry).c_str()));
        ASSERT_NE(index, CB_ERR) << entry;
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Page().SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }

    void Load(const qv::SettingsBlock& block)
    {
        dlg.workingBlock = block;
        dlg.DistributeToPages(dlg.workingBlock);
    }
};

TEST_F(SelectPageTest, FactorySettingsShowInTheControlsAndCollectUnchanged)
{
    Run([&] {
        EXPECT_EQ(ListText(IDC_SELECT_AUTO_CORRECTION), L"9");
        EXPECT_EQ(ListText(IDC_SELECT_THICKNESS), W("オート"));
        EXPECT_EQ(ListText(IDC_SELECT_PRESSURE), L"0");
        EXPECT_EQ(ListText(IDC_SELECT_POSITION), L"0");
        EXPECT_EQ(ListText(IDC_SELECT_REDUCTION), W("縮小なし"));
        EXPECT_TRUE(Checked(IDC_SELECT_SET_LEFT));
        EXPECT_FALSE(Checked(IDC_SELECT_SET_AUTO));
        EXPECT_TRUE(Checked(IDC_SELECT_FACE_MINCHO));
        EXPECT_FALSE(Checked(IDC_SELECT_FACE_GOTHIC));
        EXPECT_EQ(ListText(IDC_SELECT_COPY_POWER), W("標準"));
        EXPECT_EQ(ListText(IDC_SELECT_FORM_LIST), W("書式０"));
        EXPECT_EQ(CWindow::GetWindowText(Control(IDC_SELECT_FORM_BUTTON)), W("書式０の設定(&D)..."));

        qv::SettingsBlock collected = qv::FactoryDefaults;
        collected.fill(0xAA);
        dlg.CollectFromPages(collected);
        // The page writes its own bytes exactly as the factory image has them.
        EXPECT_EQ(Bytes(collected, 26, 1), "0");
        EXPECT_EQ(Bytes(collected, 38, 29), Bytes(qv::FactoryDefaults, 38, 29));
        EXPECT_EQ(Bytes(collected, 67, 2), "09");
        EXPECT_EQ(Bytes(collected, 70, 1), "0");
        EXPECT_EQ(Bytes(collected, 72, 1), "0");
        EXPECT_EQ(Bytes(collected, 74, 2), "00");
        EXPECT_EQ(Bytes(collected, 77, 2), "00");
        EXPECT_EQ(Bytes(collected, 80, 2), "00");
        EXPECT_EQ(Bytes(collected, 83, 1), "0");
        EXPECT_EQ(Bytes(collected, 85, 1), "0");
        for (const std::size_t at : {87u, 126u, 165u, 204u})
            EXPECT_EQ(Bytes(collected, at, 37), "66,000,136,120,120,046,046,054,00,00,") << at;
        // Bytes owned by no page are not written.
        EXPECT_EQ(collected[124], 0xAA);
        EXPECT_EQ(collected[69], 0xAA);
    });
}

TEST_F(SelectPageTest, ListsHoldTheirEntriesInOrder)
{
    Run([&] {
        const struct {
            int id;
            int count;
            const char* first;
            const char* last;
        } lists[] = {
            {IDC_SELECT_AUTO_CORRECTION, 25, "0", "24"},
            {IDC_SELECT_THICKNESS, 13, "オート", "12"},
            {IDC_SELECT_PRESSURE, 10, "-6", "+3"},
            {IDC_SELECT_POSITION, 7, "-1.3", "+1.3"},
            {IDC_SELECT_REDUCTION, 3, "縮小なし", "４／５縮小"},
            {IDC_SELECT_COPY_POWER, 3, "標準", "複写"},
            {IDC_SELECT_FORM_LIST, 5, "書式０", "書式４"},
        };
        for (const auto& l : lists) {
            const HWND list = Control(l.id);
            ASSERT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), l.count) << l.id;
            wchar_t text[64] = {};
            ::SendMessageW(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(std::wstring(text), W(l.first));
            ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(l.count - 1),
                           reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(std::wstring(text), W(l.last));
        }
    });
}

TEST_F(SelectPageTest, ChoosingAFormRebuildsTheButtonAndEditsThatForm)
{
    Run([&] {
        dlg.EnableSendCommand(false);
        Choose(IDC_SELECT_FORM_LIST, "書式３");
        EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(CWindow::GetWindowText(Control(IDC_SELECT_FORM_BUTTON)), W("書式３の設定(&D)..."));
        EXPECT_EQ(dlg.workingBlock[85], '3');

        std::wstring title;
        CDialog::QueueModalScript([&](CDialog& form) {
            title = form.GetWindowText();
            TypeText(form, form.GetDlgItem(IDC_FORM_FRONT_EDIT), L"50");
            form.SendMessage(WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(form.GetDlgItem(IDOK)));
            if (!form.IsModalEnding())
                form.EndDialog(IDCANCEL);
        });
        ::SendMessageW(Control(IDC_SELECT_FORM_BUTTON), BM_CLICK, 0, 0);
        EXPECT_EQ(title, W("書式の設定： 書式３"));
        EXPECT_EQ(Bytes(dlg.workingBlock, 165, 37), "66,000,136,050,120,046,046,054,00,00,");
        for (const std::size_t at : {87u, 126u, 204u})
            EXPECT_EQ(Bytes(dlg.workingBlock, at, 37), Bytes(qv::FactoryDefaults, at, 37)) << at;
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(SelectPageTest, EveryListAndRadioReportsItsChange)
{
    Run([&] {
        const struct {
            int id;
            const char* entry;
            std::size_t at;
            const char* bytes;
        } choices[] = {
            {IDC_SELECT_AUTO_CORRECTION, "24", 67, "24"},  {IDC_SELECT_THICKNESS, "12", 74, "12"},
            {IDC_SELECT_PRESSURE, "-6", 77, "FA"},         {IDC_SELECT_POSITION, "+1.3", 80, "03"},
            {IDC_SELECT_REDUCTION, "２／３縮小", 72, "1"}, {IDC_SELECT_COPY_POWER, "複写", 83, "2"},
        };
        for (const auto& c : choices) {
            dlg.EnableSendCommand(false);
            Choose(c.id, c.entry);
            EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND)) << c.entry;
            EXPECT_EQ(Bytes(dlg.workingBlock, c.at, std::string(c.bytes).size()), c.bytes) << c.entry;
        }
        const struct {
            int id;
            std::size_t at;
            char code;
        } radios[] = {{IDC_SELECT_SET_AUTO, 26, '1'},
                      {IDC_SELECT_FACE_GOTHIC, 70, '1'},
                      {IDC_SELECT_SET_LEFT, 26, '0'},
                      {IDC_SELECT_FACE_MINCHO, 70, '0'}};
        for (const auto& r : radios) {
            dlg.EnableSendCommand(false);
            ::SendMessageW(Control(r.id), BM_CLICK, 0, 0);
            EXPECT_TRUE(dlg.IsCommandEnabled(ID_SEND)) << r.id;
            EXPECT_EQ(dlg.workingBlock[r.at], r.code) << r.id;
        }
    });
}

TEST_F(SelectPageTest, LoadingReportsNoChange)
{
    Run([&] {
        dlg.EnableSendCommand(false);
        qv::SettingsBlock block = qv::FactoryDefaults;
        block[85] = '2';
        block[72] = '1';
        Load(block);
        EXPECT_FALSE(dlg.IsCommandEnabled(ID_SEND));
        EXPECT_EQ(ListText(IDC_SELECT_FORM_LIST), W("書式２"));
        EXPECT_EQ(ListText(IDC_SELECT_REDUCTION), W("２／３縮小"));
        // The caption follows only when the main window asks for it.
        dlg.pageSelect.UpdateFormButtonCaption();
        EXPECT_EQ(CWindow::GetWindowText(Control(IDC_SELECT_FORM_BUTTON)), W("書式２の設定(&D)..."));
    });
}

TEST_F(SelectPageTest, OutOfRangeValuesFallBackAndUnknownRecordsPassThrough)
{
    Run([&] {
        qv::SettingsBlock block = qv::FactoryDefaults;
        block[67] = '3';
        block[68] = '0';
        block[72] = '5';
        block[77] = '0';
        block[78] = '3';
        block[74] = '1';
        block[75] = '3';
        block[83] = '7';
        block[85] = '9';
        block[26] = '4';
        // Form 2 holds anything at all, a zero byte included.
        const std::string junk = std::string("AB,\xFF\x01xyz") + '\0' + "1234567890123456789012345678";
        ASSERT_EQ(junk.size(), 37u);
        std::copy(junk.begin(), junk.end(), block.begin() + 126);
        Load(block);
        EXPECT_EQ(ListText(IDC_SELECT_AUTO_CORRECTION), L"0");
        EXPECT_EQ(ListText(IDC_SELECT_REDUCTION), W("４／５縮小"));
        EXPECT_EQ(ListText(IDC_SELECT_PRESSURE), L"+3");
        EXPECT_EQ(ListText(IDC_SELECT_THICKNESS), W("オート"));
        EXPECT_EQ(ListText(IDC_SELECT_COPY_POWER), W("標準"));
        EXPECT_EQ(ListText(IDC_SELECT_FORM_LIST), W("書式０"));
        EXPECT_TRUE(Checked(IDC_SELECT_SET_LEFT));

        dlg.CollectFromPages(dlg.workingBlock);
        EXPECT_EQ(Bytes(dlg.workingBlock, 67, 2), "00");
        EXPECT_EQ(Bytes(dlg.workingBlock, 72, 1), "5");
        EXPECT_EQ(Bytes(dlg.workingBlock, 77, 2), "03");
        EXPECT_EQ(Bytes(dlg.workingBlock, 74, 2), "00");
        EXPECT_EQ(Bytes(dlg.workingBlock, 83, 1), "0");
        EXPECT_EQ(Bytes(dlg.workingBlock, 85, 1), "0");
        EXPECT_EQ(Bytes(dlg.workingBlock, 26, 1), "0");
        EXPECT_EQ(Bytes(dlg.workingBlock, 126, 37), junk);
    });
}

TEST_F(SelectPageTest, PrintPressureOutOfRangeIsRepairedOnLoading)
{
    Run([&] {
        qv::SettingsBlock block = qv::FactoryDefaults;
        block[77] = '0';
        block[78] = '7';
        Load(block);
        EXPECT_EQ(Bytes(dlg.workingBlock, 77, 2), "00");
        EXPECT_EQ(ListText(IDC_SELECT_PRESSURE), L"0");

        // A sign that is neither '0' nor 'F' leaves the lists as they were.
        Choose(IDC_SELECT_PRESSURE, "-2");
        Choose(IDC_SELECT_POSITION, "-0.8");
        block[77] = 'X';
        block[80] = 'Y';
        Load(block);
        EXPECT_EQ(ListText(IDC_SELECT_PRESSURE), L"-2");
        EXPECT_EQ(ListText(IDC_SELECT_POSITION), L"-0.8");
    });
}

TEST_F(SelectPageTest, ButtonCaptionIsCutToNineteenBytes)
{
    Run([&] {
        dlg.values.select.form = "書式１２３４５６７８";
        Page().UpdateFormButtonCaption();
        const std::wstring caption = CWindow::GetWindowText(Control(IDC_SELECT_FORM_BUTTON));
        EXPECT_EQ(caption, W("書式１２３４５６７"));
        EXPECT_LE(ToCp932(caption).size(), 19u);
    });
}

TEST_F(SelectPageTest, FormDialogIsModalToTheMainWindow)
{
    Run([&] {
        HWND owner = nullptr;
        bool mainEnabled = true;
        CDialog::QueueModalScript([&](CDialog& form) {
            owner = ::GetWindow(form.m_hWnd, GW_OWNER);
            mainEnabled = ::IsWindowEnabled(dlg.m_hWnd) != FALSE;
            form.SendMessage(WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(form.GetDlgItem(IDCANCEL)));
            if (!form.IsModalEnding())
                form.EndDialog(IDCANCEL);
        });
        ::SendMessageW(Control(IDC_SELECT_FORM_BUTTON), BM_CLICK, 0, 0);
        EXPECT_EQ(owner, dlg.m_hWnd);
        EXPECT_FALSE(mainEnabled);
        EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd));
    });
}

}  // namespace
