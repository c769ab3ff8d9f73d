#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <optional>

#include "FakeSpooler.h"
#include "TestSupport.h"
#include "framework/Text.h"
#include "printer/PrinterSelectDlg.h"
#include "resource.h"
#include "PanelUnderTest.h"

namespace {

const char* const kNoPrinter =
    "使用可能なプリンタがありませんでした。プリンタドライバを確認してからやり直してください。"
    "\n\nQuorvexを終了します。";
const char* const kAllOnFile =
    "インストールされているプリンタの接続先がFILEのため設定値を送信できません。\nプリンタ設"
    "定を確認してやり直してください。\n\nQuorvexを終了します。";
const char* const kOnlyOnFile = "接続先がFILEのため設定値を送信できません。\nプリンタ設定を確認してやり直して"
                                "ください。\n\nQuorvexを終了します。";
const char* const kChooseAnother =
    "接続先がFILEのため設定値を送信できません。\nプリンタ設定を変更するか、他のプリンタに変更してください。";
const char* const kNothingSelected = "プリンタが選択されていません。\nプリンタを選択してください。";
const std::wstring kFactoryShown = LoadResString(IDS_FACTORY_SHOWN);
const std::wstring kAskSend = LoadResString(IDS_ASK_SEND_BEFORE_SWITCH);
const std::wstring kAskSave = LoadResString(IDS_ASK_SAVE_BEFORE_SWITCH);
const std::wstring kSendFailed = LoadResString(IDS_SEND_FAILED);

std::wstring ItemText(HWND list, int item, int column)
{
    wchar_t text[512] = {};
    ListView_GetItemText(list, item, column, text, 512);
    return text;
}

int SelectedItem(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }
int FocusedItem(HWND list) { return ListView_GetNextItem(list, -1, LVNI_FOCUSED); }

void Select(HWND list, int item)
{
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (item >= 0)
        ListView_SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ExpectBox(const MessageBoxCall& call, const char* text, UINT icon)
{
    EXPECT_EQ(call.text, W(text));
    EXPECT_EQ(call.caption, L"Quorvex");
    EXPECT_EQ(call.type, MB_OK | icon);
}

class PrinterSelectDlgTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    ProcessEndRecorder ends;
    FakeSpooler fake;
    ScopedSpooler scope{fake};
    CPrinterSelectDlg dlg;
    bool shown = false;

    // Runs the dialog; body runs only if the dialog is really shown.
    INT_PTR Run(const std::function<void()>& body = [] {})
    {
        return RunModal(dlg, [&] {
            shown = true;
            body();
        });
    }
    HWND List() const { return dlg.GetDlgItem(IDC_PRINTER_LIST); }
};

TEST_F(PrinterSelectDlgTest, ListsEligiblePrintersSortedWithTheirConnections)
{
    fake.Add(L"KQ b", L"LPT2:").Add(L"KQ a", L"LPT1:").Add(L"Other", L"LPT3:");
    fake.printers.back().driver = L"Generic / Text Only";
    FakeSpooler::Printer net;
    net.name = L"KQ c";
    net.port = L"NE01:";
    net.server = L"\\\\server";
    net.attributes = 0x10;
    fake.printers.push_back(net);
    dlg.atStartup = false;

    Run([&] {
        const HWND list = List();
        ASSERT_EQ(ListView_GetItemCount(list), 3);
        EXPECT_EQ(ItemText(list, 0, 0), L"KQ a");
        EXPECT_EQ(ItemText(list, 0, 1), L"LPT1:");
        EXPECT_EQ(ItemText(list, 1, 0), L"KQ b");
        EXPECT_EQ(ItemText(list, 1, 1), L"LPT2:");
        EXPECT_EQ(ItemText(list, 2, 0), L"KQ c");
        EXPECT_EQ(ItemText(list, 2, 1), L"\\\\server");

        const char* headers[] = {"プリンタ名", "接続先"};
        const int widths[] = {200, 90};
        for (int i = 0; i < 2; ++i) {
            wchar_t text[64] = {};
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
            column.pszText = text;
            column.cchTextMax = 64;
            ASSERT_TRUE(ListView_GetColumn(list, i, &column));
            EXPECT_EQ(std::wstring(text), W(headers[i]));
            EXPECT_EQ(column.cx, widths[i]);
            EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }
        EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_FULLROWSELECT);
        EXPECT_EQ(dlg.GetWindowText(), W("プリンタの選択"));
        // Nothing in use yet: the first item is chosen.
        EXPECT_EQ(SelectedItem(list), 0);
        EXPECT_EQ(FocusedItem(list), 0);
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(dlg.printerCount, 3u);
    EXPECT_EQ(fake.enum4Calls, 1);
    EXPECT_EQ(fake.enum2Calls, 2);  // the local list and the server's
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(PrinterSelectDlgTest, PrinterInUseIsPreselectedElseTheFirst)
{
    fake.Add(L"KQ 3", L"LPT3:").Add(L"KQ 1", L"LPT1:").Add(L"KQ 2", L"LPT2:");
    dlg.atStartup = false;
    struct Case {
        const wchar_t* inUse;
        int expected;
    } cases[] = {{L"KQ 2", 1}, {L"KQ 3", 2}, {L"KQ 9", 0}, {L"kq 2", 0}, {L"", 0}};
    for (const Case& c : cases) {
        dlg.printerName = c.inUse;
        dlg.portName = L"LPT9:";
        Run([&] {
            EXPECT_EQ(SelectedItem(List()), c.expected) << Narrow(c.inUse);
            EXPECT_EQ(FocusedItem(List()), c.expected) << Narrow(c.inUse);
            dlg.EndDialog(IDCANCEL);
        });
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(PrinterSelectDlgTest, OkEnterAndDoubleClickTakeTheSelectedPrinter)
{
    fake.Add(L"KQ 1", L"LPT1:").Add(L"KQ 2", L"LPT2:").Add(L"KQ 3", L"COM1:");
    dlg.atStartup = false;

    EXPECT_EQ(Run([&] {
                  Select(List(), 1);
                  ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDOK)));
              }),
              IDOK);
    EXPECT_EQ(dlg.printerName, L"KQ 2");
    EXPECT_EQ(dlg.portName, L"LPT2:");

    EXPECT_EQ(Run([&] {
                  Select(List(), 2);
                  PressKey(dlg, List(), VK_RETURN);
              }),
              IDOK);
    EXPECT_EQ(dlg.printerName, L"KQ 3");
    EXPECT_EQ(dlg.portName, L"COM1:");

    EXPECT_EQ(Run([&] {
                  RECT rc{LVIR_LABEL, 0, 0, 0};
                  ::SendMessageW(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
                  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
                  ::SendMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
                  ::SendMessageW(List(), WM_LBUTTONUP, 0, at);
                  ::SendMessageW(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
                  ::SendMessageW(List(), WM_LBUTTONUP, 0, at);
                  dlg.PumpPendingMessages();
                  EXPECT_TRUE(dlg.IsModalEnding());
              }),
              IDOK);
    EXPECT_EQ(dlg.printerName, L"KQ 1");
    EXPECT_EQ(dlg.printerCount, 3u);
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(PrinterSelectDlgTest, OkWithNothingSelectedAsksAgainAndKeepsThePrinterInUse)
{
    fake.Add(L"KQ 1", L"LPT1:").Add(L"KQ 2", L"LPT2:");
    dlg.atStartup = false;
    dlg.printerName = L"KQ 2";
    dlg.portName = L"LPT2:";
    EXPECT_EQ(Run([&] {
                  Select(List(), -1);
                  dlg.SendCommand(IDOK);
                  EXPECT_FALSE(dlg.IsModalEnding());
                  ASSERT_EQ(boxes.Calls().size(), 1u);
                  ExpectBox(boxes.Calls()[0], kNothingSelected, MB_ICONEXCLAMATION);
                  PressKey(dlg, List(), VK_ESCAPE);
              }),
              IDCANCEL);
    EXPECT_EQ(dlg.printerName, L"KQ 2");
    EXPECT_EQ(dlg.portName, L"LPT2:");
    EXPECT_TRUE(ends.Codes().empty());
}

TEST_F(PrinterSelectDlgTest, SinglePrinterIsTakenUnseenOnlyAtStartUp)
{
    fake.Add(L"KQ only", L"LPT1:");
    EXPECT_EQ(Run(), IDOK);
    EXPECT_FALSE(shown);
    EXPECT_EQ(dlg.printerName, L"KQ only");
    EXPECT_EQ(dlg.portName, L"LPT1:");
    EXPECT_EQ(dlg.printerCount, 1u);

    dlg.atStartup = false;
    EXPECT_EQ(Run([&] { EXPECT_EQ(SelectedItem(List()), 0); }), IDOK);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(PrinterSelectDlgTest, NoEligiblePrinterEndsTheProgram)
{
    fake.Add(L"Wrong driver", L"LPT1:");
    fake.printers.back().driver = L"Tav Kestrolinea 418KQ6";
    fake.Add(L"Refuses", L"LPT2:");
    fake.printers.back().opens = false;
    for (const bool atStartup : {true, false}) {
        boxes.Clear();
        dlg.atStartup = atStartup;
        EXPECT_EQ(Run(), IDCANCEL);
        EXPECT_FALSE(shown);
        EXPECT_EQ(dlg.printerCount, 0u);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        ExpectBox(boxes.Calls()[0], kNoPrinter, MB_ICONEXCLAMATION);
    }
    EXPECT_EQ(ends.Codes(), (std::vector<int>{1, 1}));
}

TEST_F(PrinterSelectDlgTest, OnlyFilePrintersEndTheProgram)
{
    struct Case {
        int printers;
        bool atStartup;
        const char* message;
    } cases[] = {
        {1, true, kOnlyOnFile},  // taken at once, then refused
        {1, false, kAllOnFile},
        {2, true, kAllOnFile},
        {2, false, kAllOnFile},
    };
    for (const Case& c : cases) {
        fake.printers.clear();
        for (int i = 0; i < c.printers; ++i)
            fake.Add(L"KQ file " + std::to_wstring(i), L"FILE:");
        boxes.Clear();
        shown = false;
        dlg.atStartup = c.atStartup;
        EXPECT_EQ(Run(), IDCANCEL);
        EXPECT_FALSE(shown);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        ExpectBox(boxes.Calls()[0], c.message, MB_ICONEXCLAMATION);
    }
    EXPECT_EQ(ends.Codes(), (std::vector<int>{1, 1, 1, 1}));
}

TEST_F(PrinterSelectDlgTest, FilePrinterAmongOthersIsRefusedAndTheDialogStays)
{
    fake.Add(L"KQ 1 file", L"FILE:").Add(L"KQ 2", L"LPT2:").Add(L"KQ 3 lower", L"file:");
    dlg.atStartup = false;
    dlg.printerName = L"KQ 2";
    dlg.portName = L"LPT2:";
    EXPECT_EQ(Run([&] {
                  Select(List(), 0);
                  dlg.SendCommand(IDOK);
                  EXPECT_FALSE(dlg.IsModalEnding());
                  ASSERT_EQ(boxes.Calls().size(), 1u);
                  ExpectBox(boxes.Calls()[0], kChooseAnother, MB_ICONINFORMATION);
                  // The refused printer's names stay in the dialog.
                  EXPECT_EQ(dlg.printerName, L"KQ 1 file");
                  EXPECT_EQ(dlg.portName, L"FILE:");
                  dlg.SendCommand(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_TRUE(ends.Codes().empty());

    // Only the upper-case port is a FILE port.
    EXPECT_EQ(Run([&] {
                  Select(List(), 2);
                  dlg.SendCommand(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dlg.portName, L"file:");
}

// The main window with the selection.
class SelectPrinterTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    ProcessEndRecorder ends;
    FakeSpooler fake;
    ScopedSpooler scope{fake};
    std::unique_ptr<PanelUnderTest> dlg = std::make_unique<PanelUnderTest>();

    INT_PTR Run(const std::function<void()>& body) { return RunModal(*dlg, body); }
    static void QueueSelection(std::function<void(CDialog&, HWND list)> script)
    {
        CDialog::QueueModalScript([script](CDialog& d) { script(d, d.GetDlgItem(IDC_PRINTER_LIST)); });
    }
    std::wstring StatusText(int part) const
    {
        wchar_t text[256] = {};
        ::SendMessageW(dlg->statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void EditPage()
    {
        dlg->SelectPage(1);
        TypeText(*dlg, dlg->pageParam.GetDlgItem(IDC_PARAM_CUT_SHEET), L"50");
    }
};

TEST_F(SelectPrinterTest, SinglePrinterAtStartUpIsAdoptedWithoutAsking)
{
    fake.Add(L"KQ only", L"LPT1:");
    Run([&] {
        EXPECT_EQ(dlg->printerName, L"KQ only");
        EXPECT_EQ(dlg->portName, L"LPT1:");
        EXPECT_EQ(StatusText(0), W("プリンタ名： KQ only"));
        EXPECT_EQ(StatusText(1), W("接続先： LPT1:"));
        EXPECT_FALSE(dlg->IsCommandEnabled(ID_SELECT_PRINTER));
        EXPECT_FALSE(dlg->toolbar.IsButtonEnabled(ID_TB_PRINTER));
        EXPECT_EQ(dlg->workingBlock, qv::FactoryDefaults);
    });
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(SelectPrinterTest, SeveralPrintersAtStartUpAreOfferedAndTheChoiceAdopted)
{
    fake.Add(L"KQ 1", L"LPT1:").Add(L"KQ 2", L"LPT2:");
    bool offered = false;
    QueueSelection([&](CDialog& d, HWND list) {
        offered = true;
        Select(list, 1);
        d.SendCommand(IDOK);
    });
    Run([&] {
        EXPECT_TRUE(offered);
        EXPECT_EQ(dlg->printerName, L"KQ 2");
        EXPECT_EQ(StatusText(0), W("プリンタ名： KQ 2"));
        EXPECT_EQ(StatusText(1), W("接続先： LPT2:"));
        EXPECT_TRUE(dlg->IsCommandEnabled(ID_SELECT_PRINTER));
        EXPECT_TRUE(dlg->toolbar.IsButtonEnabled(ID_TB_PRINTER));
    });
    // No factory reset at start-up.
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(SelectPrinterTest, CancelAtStartUpClosesTheMainWindow)
{
    fake.Add(L"KQ 1", L"LPT1:").Add(L"KQ 2", L"LPT2:");
    // Cancelled at once, and cancelled after the FILE printer was refused.
    QueueSelection([](CDialog& d, HWND) { d.SendCommand(IDCANCEL); });
    bool ran = false;
    EXPECT_EQ(Run([&] { ran = true; }), IDOK);
    EXPECT_FALSE(ran);

    fake.printers[0].port = L"FILE:";
    dlg = std::make_unique<PanelUnderTest>();
    QueueSelection([](CDialog& d, HWND list) {
        Select(list, 0);
        d.SendCommand(IDOK);
        d.SendCommand(IDCANCEL);
    });
    EXPECT_EQ(Run([&] { ran = true; }), IDOK);
    EXPECT_FALSE(ran);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    ExpectBox(boxes.Calls()[0], kChooseAnother, MB_ICONINFORMATION);
    EXPECT_TRUE(ends.Codes().empty());
}

TEST_F(SelectPrinterTest, NoPrinterAtStartUpEndsWithCodeOne)
{
    bool ran = false;
    EXPECT_EQ(Run([&] { ran = true; }), IDOK);  // a returning end handler closes the window
    EXPECT_FALSE(ran);
    EXPECT_EQ(ends.Codes(), (std::vector<int>{1}));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    ExpectBox(boxes.Calls()[0], kNoPrinter, MB_ICONEXCLAMATION);
}

TEST_F(SelectPrinterTest, LaterCancelKeepsThePrinterEvenAfterAFileRefusal)
{
    fake.Add(L"KQ 1", L"LPT1:");
    Run([&] {
        fake.Add(L"KQ 0 file", L"FILE:");
        QueueSelection([](CDialog& d, HWND list) {
            EXPECT_EQ(SelectedItem(list), 1);  // the printer in use
            Select(list, 0);
            d.SendCommand(IDOK);
            d.SendCommand(IDCANCEL);
        });
        dlg->SendCommand(ID_SELECT_PRINTER);
        EXPECT_FALSE(dlg->IsModalEnding());
        EXPECT_EQ(dlg->printerName, L"KQ 1");
        EXPECT_EQ(dlg->portName, L"LPT1:");
        EXPECT_EQ(StatusText(0), W("プリンタ名： KQ 1"));
    });
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{W(kChooseAnother)}));
}

TEST_F(SelectPrinterTest, ChoiceAfterStartUpResetsToFactorySettings)
{
    fake.Add(L"KQ 1", L"LPT1:");
    Run([&] {
        fake.Add(L"KQ 2", L"LPT2:");
        dlg->sentBlock[20] ^= 1;  // unsent and unsaved copies differ from the working one
        dlg->savedBlock = dlg->sentBlock;
        dlg->workingBlock = dlg->sentBlock;
        dlg->DistributeToPages(dlg->workingBlock);
        dlg->EnableSendCommand(false);
        QueueSelection([](CDialog& d, HWND list) {
            Select(list, 1);
            d.SendCommand(IDOK);
        });
        dlg->SendCommand(ID_SELECT_PRINTER);
        EXPECT_EQ(dlg->printerName, L"KQ 2");
        EXPECT_EQ(dlg->workingBlock, qv::FactoryDefaults);
        EXPECT_TRUE(dlg->IsCommandEnabled(ID_SEND));
        EXPECT_TRUE(dlg->IsCommandEnabled(ID_SELECT_PRINTER));
        EXPECT_EQ(dlg->CurrentTab(), 0);
    });
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{W(kFactoryShown)}));
}

TEST_F(SelectPrinterTest, AFailedSendOfferedBeforeTheSwitchStartsTheSwitchOver)
{
    fake.Add(L"KQ 1", L"LPT1:");
    Run([&] {
        EditPage();
        ASSERT_NE(dlg->workingBlock, qv::FactoryDefaults);
        ASSERT_TRUE(dlg->HasUnsavedChanges());
        fake.sendResult = {qv::Delivery::Failed, "", 1, false};
        // Yes to sending: the send fails, and the same switch asks again
        // from the start; one selection follows, not one per failure.
        boxes.Answer(IDYES);  // send first?
        boxes.Answer(IDOK);   // send failed
        boxes.Answer(IDNO);   // send first?
        boxes.Answer(IDNO);   // save first?
        boxes.Answer(IDOK);   // factory settings shown
        QueueSelection([](CDialog& d, HWND) { d.SendCommand(IDOK); });
        dlg->SendCommand(ID_SELECT_PRINTER);
    });
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{W(kAskSend), W(kSendFailed), W(kAskSend), W(kAskSave),
                                                        W(kFactoryShown)}));
    for (const auto& call : boxes.Calls()) {
        if (call.text == W(kAskSend) || call.text == W(kAskSave)) {
            EXPECT_EQ(call.type, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        }
    }
    EXPECT_EQ(fake.jobs.size(), 1u);
}

TEST_F(SelectPrinterTest, CancelToAQuestionEndsTheSwitch)
{
    fake.Add(L"KQ 1", L"LPT1:");
    Run([&] {
        EditPage();
        const qv::SettingsBlock edited = dlg->workingBlock;
        boxes.Answer(IDCANCEL);
        dlg->SelectPrinter();
        boxes.Answer(IDNO);
        boxes.Answer(IDCANCEL);
        dlg->SelectPrinter();
        EXPECT_EQ(dlg->workingBlock, edited);
    });
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{W(kAskSend), W(kAskSend), W(kAskSave)}));
    EXPECT_TRUE(fake.jobs.empty());
}

// The switch shows the factory settings afterwards: without the save the
// user asked for, the edits would be lost, so the switch is abandoned.
TEST_F(SelectPrinterTest, YesToSaveWithoutASaveAbandonsTheSwitch)
{
    fake.Add(L"KQ 1", L"LPT1:").Add(L"KQ 2", L"LPT2:");
    QueueSelection([](CDialog& d, HWND) { d.SendCommand(IDOK); });  // start-up
    FileDialogRecorder dialogs;
    const std::wstring missingFolder =
        (std::filesystem::temp_directory_path() / "qv_absent" / "x.dat").wstring();
    const std::wstring writable = (std::filesystem::temp_directory_path() / "qv_switch_saved.dat").wstring();
    Run([&] {
        EditPage();
        const qv::SettingsBlock edited = dlg->workingBlock;
        dlg->sentBlock = edited;  // only the save question
        ASSERT_TRUE(dlg->HasUnsavedChanges());

        for (const std::optional<std::wstring>& answer :
             {std::optional<std::wstring>(), std::optional(missingFolder)}) {
            bool selectionShown = false;
            QueueSelection([&](CDialog& d, HWND) {
                selectionShown = true;
                d.SendCommand(IDCANCEL);
            });
            boxes.Clear();
            boxes.Answer(IDYES);
            dialogs.Answer(answer);
            dlg->SendCommand(ID_SELECT_PRINTER);
            CDialog::ClearModalScripts();
            EXPECT_FALSE(selectionShown) << answer.has_value();
            EXPECT_EQ(dlg->workingBlock, edited) << "not reset to the factory settings";
            EXPECT_EQ(dlg->printerName, L"KQ 1");
            EXPECT_EQ(boxes.Texts().front(), W(kAskSave));
            EXPECT_EQ(boxes.Texts().size(), answer ? 2u : 1u) << "the failure is reported";
        }

        // A save that happens lets the switch go on.
        bool selectionShown = false;
        QueueSelection([&](CDialog& d, HWND list) {
            selectionShown = true;
            Select(list, 1);
            d.SendCommand(IDOK);
        });
        boxes.Clear();
        boxes.Answer(IDYES);
        dialogs.Answer(writable);
        dlg->SendCommand(ID_SELECT_PRINTER);
        EXPECT_TRUE(selectionShown);
        EXPECT_EQ(dlg->savedBlock, edited);
        EXPECT_EQ(dlg->printerName, L"KQ 2");
        EXPECT_EQ(dlg->workingBlock, qv::FactoryDefaults);
        EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{W(kAskSave), W(kFactoryShown)}));
    });
    std::error_code ec;
    std::filesystem::remove(writable, ec);
}

TEST_F(SelectPrinterTest, YesToSendWithAPendingEntryStopsTheSwitch)
{
    fake.Add(L"KQ 1", L"LPT1:");
    Run([&] {
        dlg->SelectPage(1);
        TypeText(*dlg, dlg->pageParam.GetDlgItem(IDC_PARAM_CUT_SHEET), L"5");
        ASSERT_TRUE(dlg->pageParam.CentringCheckPending());
        boxes.Answer(IDYES);
        bool selectionShown = false;
        QueueSelection([&](CDialog& d, HWND) {
            selectionShown = true;
            d.SendCommand(IDCANCEL);
        });
        dlg->SelectPrinter();
        CDialog::ClearModalScripts();
        EXPECT_FALSE(selectionShown);
        EXPECT_FALSE(dlg->pageParam.CentringCheckPending());
        EXPECT_EQ(dlg->CurrentTab(), 1);
    });
    ASSERT_GE(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].text, W(kAskSend));
    EXPECT_TRUE(fake.jobs.empty());
}

}  // namespace
