#include <gtest/gtest.h>

#include <windows.h>

#include "FakeSpooler.h"
#include "TestSupport.h"
#include "framework/Text.h"
#include "resource.h"
#include "PanelUnderTest.h"

namespace {

const std::wstring kSent = LoadResString(IDS_SENT);
const std::wstring kFailed = LoadResString(IDS_SEND_FAILED);
const std::wstring kFilePort = LoadResString(IDS_PORT_IS_FILE);
const std::wstring kNoPrinter = LoadResString(IDS_NO_PRINTER_SELECTED);
const std::wstring kFactoryShown = LoadResString(IDS_FACTORY_SHOWN);

class SendSettingsTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    ProcessEndRecorder ends;
    FakeSpooler fake;
    ScopedSpooler scope{fake};
    PanelUnderTest dlg;

    SendSettingsTest() { fake.Add(L"KQ Send", L"LPT1:"); }

    void Run(const std::function<void()>& body) { RunModal(dlg, body); }
    // An edit on the parameter page: the working copy then differs.
    void Edit(const wchar_t* cutSheet)
    {
        dlg.SelectPage(1);
        TypeText(dlg, dlg.pageParam.GetDlgItem(IDC_PARAM_CUT_SHEET), cutSheet);
    }
    bool SendEnabled() const
    {
        return dlg.IsCommandEnabled(ID_SEND) && dlg.toolbar.IsButtonEnabled(ID_TB_SEND);
    }
    std::wstring StatusText() const { return CWindow::GetWindowText(dlg.statusBar); }
    bool SendDisabled() const
    {
        return !dlg.IsCommandEnabled(ID_SEND) && !dlg.toolbar.IsButtonEnabled(ID_TB_SEND);
    }
};

TEST_F(SendSettingsTest, SendWritesTheWorkingCopyThenReportsThenDisablesSending)
{
    Run([&] {
        Edit(L"50");
        const qv::SettingsBlock before = dlg.sentBlock;
        ASSERT_NE(dlg.workingBlock, before);
        boxes.OnShow([&](const MessageBoxCall&) {
            // The report comes first; the sent copy and the command follow it.
            EXPECT_EQ(dlg.sentBlock, before);
            EXPECT_TRUE(SendEnabled());
        });
        std::wstring busy;  // while the spooler follows the job
        fake.onSend = [&] {
            busy = StatusText() + (::GetCursor() == ::LoadCursorW(nullptr, IDC_WAIT) ? L"+" : L"");
        };
        dlg.SendCommand(ID_SEND);
        boxes.OnShow(nullptr);
        EXPECT_EQ(busy + L"|" + StatusText(), W("送信中…+|プリンタ名： KQ Send"));

        ASSERT_EQ(fake.jobs.size(), 1u);
        const FakeSpooler::Job& job = fake.jobs[0];
        EXPECT_EQ(job.printer, L"KQ Send");
        EXPECT_EQ(job.docName, L"Quorvex Status Write");
        EXPECT_TRUE(job.ntFamily);
        ASSERT_EQ(job.data.size(), 270u);
        EXPECT_TRUE(std::equal(job.data.begin(), job.data.end(), dlg.workingBlock.begin()));
        EXPECT_EQ(dlg.sentBlock, dlg.workingBlock);
        EXPECT_FALSE(dlg.HasUnsentChanges());
        EXPECT_TRUE(dlg.HasUnsavedChanges());
        EXPECT_TRUE(SendDisabled());
        EXPECT_TRUE(::GetMenuState(::GetMenu(dlg.m_hWnd), ID_SEND, MF_BYCOMMAND) & MF_GRAYED);

        // The next edit offers sending again.
        Edit(L"45");
        EXPECT_TRUE(SendEnabled());
    });
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, W(kSent));
    EXPECT_EQ(boxes.Calls()[0].caption, L"Quorvex");
    EXPECT_EQ(boxes.Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(SendSettingsTest, AJobWaitingInTheQueueCountsAsSentWithItsOwnMessage)
{
    fake.sendResult = {qv::Delivery::Waiting, "オフライン"};
    Run([&] {
        Edit(L"50");
        dlg.SendCommand(ID_SEND);
        EXPECT_FALSE(dlg.HasUnsentChanges());
        EXPECT_TRUE(SendDisabled());
    });
    EXPECT_EQ(boxes.Texts(), std::vector{FormatResString(IDS_SEND_WAITING, W("オフライン"))});
}

TEST_F(SendSettingsTest, JobCarriesTheCollectedBlockFromTheToolbarToo)
{
    Run([&] {
        Edit(L"62");
        dlg.workingBlock = qv::FactoryDefaults;  // stale: the send collects first
        ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TB_SEND, BN_CLICKED),
                       reinterpret_cast<LPARAM>(dlg.toolbar.m_hWnd));
        ASSERT_EQ(fake.jobs.size(), 1u);
        EXPECT_NE(dlg.workingBlock, qv::FactoryDefaults);
        EXPECT_TRUE(std::equal(fake.jobs[0].data.begin(), fake.jobs[0].data.end(), dlg.workingBlock.begin()));
        // The zero fill at the end travels too.
        EXPECT_EQ(fake.jobs[0].data[269], 0);
    });
}

TEST_F(SendSettingsTest, FailedSendKeepsTheSentCopyAndOpensTheSelection)
{
    fake.sendResult = {qv::Delivery::Failed, "", 1, false};
    Run([&] {
        Edit(L"50");
        const qv::SettingsBlock before = dlg.sentBlock;
        bool selectionShown = false;
        CDialog::QueueModalScript([&](CDialog& d) {
            selectionShown = true;
            // The failure was reported, then the switch asked its questions.
            EXPECT_EQ(boxes.Calls().size(), 3u);
            d.SendCommand(IDCANCEL);
        });
        boxes.Answer(IDOK);  // failure
        boxes.Answer(IDNO);  // send first?
        boxes.Answer(IDNO);  // save first?
        dlg.SendSettings();
        EXPECT_TRUE(selectionShown);
        EXPECT_EQ(fake.jobs.size(), 1u);
        EXPECT_EQ(dlg.sentBlock, before);
        EXPECT_TRUE(dlg.HasUnsentChanges());
        EXPECT_TRUE(SendEnabled());
        EXPECT_FALSE(dlg.IsModalEnding());
        EXPECT_EQ(dlg.printerName, L"KQ Send");
    });
    ASSERT_GE(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, W(kFailed));
    EXPECT_EQ(boxes.Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes.Texts(),
              (std::vector<std::wstring>{W(kFailed),
                                         W("設定値が変更されています。\nプリンタを切り"
                                           "替える前に、設定値をプリンタへ送信しますか？"),
                                         W("設定値が変更されています。\nプリンタを切り替える前に、"
                                           "設定ファイルへ保存しますか？")}));
}

TEST_F(SendSettingsTest, UnavailablePrinterTakesTheFailurePath)
{
    fake.sendResult = {qv::Delivery::Failed, "", 0, true};
    Run([&] {
        CDialog::QueueModalScript([](CDialog& d) { d.SendCommand(IDCANCEL); });
        dlg.SendSettings();
        EXPECT_EQ(dlg.sentBlock, qv::FactoryDefaults);
    });
    ASSERT_FALSE(boxes.Calls().empty());
    EXPECT_EQ(boxes.Calls()[0].text, W(kFailed));
}

TEST_F(SendSettingsTest, FilePortIsNeverOpened)
{
    Run([&] {
        Edit(L"50");
        dlg.portName = L"FILE:";
        dlg.SendSettings();
        EXPECT_TRUE(fake.jobs.empty());
        EXPECT_NE(dlg.sentBlock, dlg.workingBlock);
        EXPECT_TRUE(SendEnabled());

        // The comparison is exact: any other spelling is a port like others.
        dlg.portName = L"file:";
        dlg.SendSettings();
        EXPECT_EQ(fake.jobs.size(), 1u);
    });
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].text, W(kFilePort));
    EXPECT_EQ(boxes.Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes.Calls()[1].text, W(kSent));
}

TEST_F(SendSettingsTest, NoPrinterAsksForOneThenSendsToIt)
{
    Run([&] {
        dlg.printerName.clear();
        bool selectionShown = false;
        CDialog::QueueModalScript([&](CDialog& d) {
            selectionShown = true;
            d.SendCommand(IDOK);
        });
        dlg.SendSettings();
        EXPECT_TRUE(selectionShown);
        EXPECT_EQ(dlg.printerName, L"KQ Send");
        ASSERT_EQ(fake.jobs.size(), 1u);
        EXPECT_EQ(fake.jobs[0].printer, L"KQ Send");
    });
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{W(kNoPrinter), W(kFactoryShown), W(kSent)}));
    EXPECT_EQ(boxes.Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(SendSettingsTest, NoPortAndCancelledSelectionSendsNothing)
{
    Run([&] {
        dlg.portName.clear();
        CDialog::QueueModalScript([](CDialog& d) { d.SendCommand(IDCANCEL); });
        dlg.SendSettings();
        EXPECT_TRUE(fake.jobs.empty());
        // The window keeps its printer name, but without a port it has no
        // printer to send to.
        EXPECT_FALSE(dlg.IsModalEnding());
        EXPECT_EQ(dlg.printerName, L"KQ Send");
    });
    EXPECT_EQ(boxes.Texts().front(), W(kNoPrinter));
}

TEST_F(SendSettingsTest, PendingEntryShowsTheParameterPageAndSendsNothing)
{
    Run([&] {
        Edit(L"5");
        ASSERT_TRUE(dlg.pageParam.CentringCheckPending());
        dlg.SelectPage(3);
        dlg.SendCommand(ID_SEND);
        EXPECT_EQ(dlg.CurrentTab(), 1);
        EXPECT_FALSE(dlg.pageParam.CentringCheckPending());
        EXPECT_TRUE(fake.jobs.empty());
        EXPECT_EQ(dlg.sentBlock, qv::FactoryDefaults);
    });
    ASSERT_EQ(boxes.Calls().size(), 1u);  // the page's own message only
    EXPECT_NE(boxes.Calls()[0].text, W(kSent));
}

}  // namespace
