// Leaving the panel (the send and save questions) and the help command: the
// file chosen per system, the grayed command, and a help that fails.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "FakeSpooler.h"
#include "TestSupport.h"
#include "core/SettingsFile.h"
#include "framework/Text.h"
#include "resource.h"
#include "PanelUnderTest.h"
#include "ui/PanelMessages.h"

namespace {

namespace fs = std::filesystem;

const std::wstring kSendFirst = LoadResString(IDS_ASK_SEND_BEFORE_EXIT);
const std::wstring kSaveFirst = LoadResString(IDS_ASK_SAVE_BEFORE_EXIT);
const std::wstring kHelpMissing = LoadResString(IDS_NO_HELP);
constexpr UINT kQuestion = MB_YESNOCANCEL | MB_ICONEXCLAMATION;

class ExitTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    FileDialogRecorder dialogs;
    FakeSpooler spooler;
    ScopedSpooler useSpooler{spooler};
    PanelUnderTest dlg;
    fs::path file = fs::temp_directory_path() / "qv_exit_test.dat";

    ExitTest() { spooler.Add(L"KQ Exit", L"LPT1:"); }
    ~ExitTest() override
    {
        std::error_code ec;
        fs::remove(file, ec);
    }

    enum class Changes { None, UnsavedOnly, UnsentOnly, Both };
    // Sets what differs from the working copy, then leaves through `leave`.
    INT_PTR Leave(Changes changes, const std::function<void()>& leave,
                  const std::function<void()>& after = {})
    {
        return RunModal(dlg, [&] {
            qv::SettingsBlock shown = dlg.workingBlock;
            shown[qv::off::msw2] ^= 0x01;
            dlg.DistributeToPages(shown);
            dlg.OnDataCheck();
            if (changes == Changes::None || changes == Changes::UnsavedOnly)
                dlg.sentBlock = dlg.workingBlock;
            if (changes == Changes::None || changes == Changes::UnsentOnly)
                dlg.savedBlock = dlg.workingBlock;
            boxes.Clear();
            leave();
            closed = dlg.IsModalEnding();
            if (after)
                after();
        });
    }
    void Exit() { dlg.SendCommand(ID_FILE_EXIT); }
    bool closed = false;

    std::vector<std::wstring> Questions() const { return boxes.Texts(); }
    void ExpectQuestions(std::initializer_list<std::wstring> texts)
    {
        ASSERT_EQ(boxes.Calls().size(), texts.size());
        std::size_t i = 0;
        for (const std::wstring& text : texts) {
            const MessageBoxCall& call = boxes.Calls()[i++];
            EXPECT_EQ(call.text, text);
            EXPECT_EQ(call.caption, PanelCaption());
            if (call.text == W(kSendFirst) || call.text == W(kSaveFirst)) {
                EXPECT_EQ(call.type, kQuestion);
            }
        }
    }
};

TEST_F(ExitTest, WithoutChangesTheWindowClosesAtOnce)
{
    EXPECT_EQ(Leave(Changes::None, [&] { Exit(); }), IDOK);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ExitTest, TheCloseBoxAsksTheSameQuestions)
{
    boxes.Answer(IDCANCEL);
    Leave(Changes::UnsavedOnly, [&] { dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_FALSE(closed);
    ExpectQuestions({kSaveFirst});

    EXPECT_EQ(Leave(Changes::None, [&] { dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }), IDOK);
    EXPECT_TRUE(closed);
}

TEST_F(ExitTest, OnlyUnsavedChangesAskOnlyTheSaveQuestion)
{
    // Yes: the save dialog, the file, then the window closes.
    boxes.Answer(IDYES);
    dialogs.Answer(file.wstring());
    Leave(Changes::UnsavedOnly, [&] { Exit(); });
    EXPECT_TRUE(closed);
    ExpectQuestions({kSaveFirst});
    EXPECT_EQ(fs::file_size(file), 290u);
    EXPECT_EQ(dlg.savedBlock, dlg.workingBlock);
    EXPECT_TRUE(spooler.jobs.empty());
}

// Yes to saving promises the edits a file: a save that did not happen
// keeps the panel open, as Cancel does.
TEST_F(ExitTest, SavingYesStaysOpenWhenTheSaveDidNotHappen)
{
    const fs::path folder = fs::temp_directory_path() / "qv_exit_folder.dat";
    fs::create_directory(folder);
    struct Row {
        const char* what;
        std::vector<std::optional<std::wstring>> answers;  // save-as dialogs, in turn
        std::vector<std::wstring> messages;                // after the question
    };
    const Row rows[] = {
        {"dialog cancelled", {std::nullopt}, {}},
        {"write failed",
         {(fs::temp_directory_path() / "qv_absent" / "x.dat").wstring()},
         {LoadResString(IDS_WRITE_FAILED)}},
        {"access denied, then cancelled",
         {folder.wstring(), std::nullopt},
         {LoadResString(IDS_WRITE_DENIED)}},
    };
    for (const Row& row : rows) {
        for (const auto& answer : row.answers)
            dialogs.Answer(answer);
        boxes.Answer(IDYES);
        const std::size_t asked = dialogs.Requests().size();
        Leave(Changes::UnsavedOnly, [&] { Exit(); });
        EXPECT_FALSE(closed) << row.what;
        EXPECT_EQ(dialogs.Requests().size() - asked, row.answers.size()) << row.what;
        EXPECT_NE(dlg.savedBlock, dlg.workingBlock) << row.what;
        std::vector<std::wstring> expected{W(kSaveFirst)};
        expected.insert(expected.end(), row.messages.begin(), row.messages.end());
        EXPECT_EQ(Questions(), expected) << row.what;
    }

    // After sending, a save that did not happen still keeps the panel open.
    boxes.Answer(IDYES);
    boxes.Answer(IDOK);  // the send's report
    boxes.Answer(IDYES);
    dialogs.Answer(std::nullopt);
    Leave(Changes::Both, [&] { Exit(); });
    EXPECT_FALSE(closed);
    EXPECT_EQ(spooler.jobs.size(), 1u);
    EXPECT_EQ(dlg.sentBlock, dlg.workingBlock);
    ExpectQuestions({kSendFirst, LoadResString(IDS_SENT), kSaveFirst});

    std::error_code ec;
    fs::remove(folder, ec);
}

TEST_F(ExitTest, SavingNoClosesAndCancelKeepsRunning)
{
    boxes.Answer(IDNO);
    Leave(Changes::UnsavedOnly, [&] { Exit(); });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(dialogs.Requests().empty());

    boxes.Answer(IDCANCEL);
    Leave(Changes::UnsavedOnly, [&] { Exit(); });
    EXPECT_FALSE(closed);
    ExpectQuestions({kSaveFirst});
}

TEST_F(ExitTest, OnlyUnsentChangesAskOnlyTheSendQuestion)
{
    boxes.Answer(IDNO);
    Leave(Changes::UnsentOnly, [&] { Exit(); });
    EXPECT_TRUE(closed);
    ExpectQuestions({kSendFirst});
    EXPECT_TRUE(spooler.jobs.empty());

    boxes.Answer(IDYES);
    Leave(Changes::UnsentOnly, [&] { Exit(); });
    EXPECT_TRUE(closed);
    ExpectQuestions({kSendFirst, LoadResString(IDS_SENT)});
    ASSERT_EQ(spooler.jobs.size(), 1u);
    EXPECT_EQ(dlg.sentBlock, dlg.workingBlock);
}

TEST_F(ExitTest, BothChangesAskSendThenSaveFromTheFirstTests)
{
    // Sending first does not make the save question go away: both tests
    // were made before the first question.
    boxes.Answer(IDYES);
    boxes.Answer(IDOK);  // the send's report
    boxes.Answer(IDYES);
    dialogs.Answer(file.wstring());
    Leave(Changes::Both, [&] { Exit(); });
    EXPECT_TRUE(closed);
    ExpectQuestions({kSendFirst, LoadResString(IDS_SENT), kSaveFirst});
    EXPECT_EQ(spooler.jobs.size(), 1u);
    EXPECT_EQ(fs::file_size(file), 290u);

    boxes.Answer(IDNO);
    boxes.Answer(IDNO);
    Leave(Changes::Both, [&] { Exit(); });
    EXPECT_TRUE(closed);
    ExpectQuestions({kSendFirst, kSaveFirst});

    boxes.Answer(IDCANCEL);
    Leave(Changes::Both, [&] { Exit(); });
    EXPECT_FALSE(closed);
    ExpectQuestions({kSendFirst});

    boxes.Answer(IDNO);
    boxes.Answer(IDCANCEL);
    Leave(Changes::Both, [&] { Exit(); });
    EXPECT_FALSE(closed);
    ExpectQuestions({kSendFirst, kSaveFirst});
}

// A failed send ends the exit after its printer switch: a printer chosen there shows the
// factory settings, which the save question asked before the send would write over the file.
TEST_F(ExitTest, AFailedSendEndsTheExitAfterThePrinterSwitch)
{
    const std::wstring send = W(kSendFirst), failed = LoadResString(IDS_SEND_FAILED),
                       switchSend = LoadResString(IDS_ASK_SEND_BEFORE_SWITCH),
                       switchSave = LoadResString(IDS_ASK_SAVE_BEFORE_SWITCH),
                       factory = LoadResString(IDS_FACTORY_SHOWN);
    const std::tuple<Changes, INT_PTR, std::vector<std::wstring>> rows[] = {
        {Changes::Both, IDCANCEL, {send, failed, switchSend, switchSave}},
        {Changes::Both, IDOK, {send, failed, switchSend, switchSave, factory}},
        {Changes::UnsentOnly, IDOK, {send, failed, switchSend, factory}},
    };
    spooler.sendResult = {qv::Delivery::Failed, ""};
    for (const auto& [changes, selection, messages] : rows) {
        boxes.Answer(IDYES);  // send first; the later questions get No
        Leave(changes, [&] {
            spooler.Add(L"KQ Other", L"LPT2:");  // so the selection is shown
            CDialog::QueueModalScript([&](CDialog& d) { d.EndDialog(selection); });
            Exit();
        });
        spooler.printers.pop_back();
        EXPECT_FALSE(closed) << selection;
        EXPECT_EQ(Questions(), messages) << selection;
    }
}

TEST_F(ExitTest, APendingCentringEntryAbandonsTheExit)
{
    for (const bool send : {true, false}) {
        Leave(
            Changes::None,
            [&] {
                dlg.OpenEveryPage();
                TypeText(dlg, dlg.pageParam.GetDlgItem(IDC_PARAM_CUT_SHEET), L"5");
                ASSERT_TRUE(dlg.pageParam.CentringCheckPending());
                (send ? dlg.savedBlock : dlg.sentBlock) = dlg.workingBlock;
                boxes.Clear();
                boxes.Answer(IDYES);
                Exit();
            },
            [&] { EXPECT_EQ(dlg.CurrentTab(), 1); });
        EXPECT_FALSE(closed) << send;
        ASSERT_GE(boxes.Calls().size(), 2u) << send;
        EXPECT_EQ(boxes.Calls()[0].text, W(send ? kSendFirst : kSaveFirst));
        EXPECT_TRUE(spooler.jobs.empty());
        EXPECT_TRUE(dialogs.Requests().empty());
    }
}

TEST_F(ExitTest, EnterAndEscapeDoNotLeave)
{
    Leave(Changes::None, [&] {
        PressKey(dlg, ::GetFocus(), VK_RETURN);
        PressKey(dlg, ::GetFocus(), VK_ESCAPE);
    });
    EXPECT_FALSE(closed);
    EXPECT_TRUE(boxes.Calls().empty());
}

// Help files are looked for beside the running program.
class HelpTest : public testing::Test {
protected:
    MessageBoxRecorder boxes;
    const fs::path folder = fs::path(ModuleFolder());

    void SetUp() override { RemoveHelpFiles(); }
    void TearDown() override
    {
        RemoveHelpFiles();
        SetCurrentPlatform({qv::kPlatformNt, 10, 0});
    }
    void RemoveHelpFiles()
    {
        std::error_code ec;
        fs::remove(folder / "qvx4k5.chm", ec);
        fs::remove(folder / "qvx4k5.hlp", ec);
    }
    void Put(const char* name) { std::ofstream(folder / name) << "help"; }

    bool HelpEnabled(PanelUnderTest& dlg) { return dlg.IsCommandEnabled(ID_HELP_CONTENTS); }
};

struct PlatformRow {
    qv::PlatformInfo platform;
    const char* file;
    const char* other;
    bool html;
};

TEST_F(HelpTest, EachSystemLooksForItsOwnFileOnly)
{
    const PlatformRow rows[] = {
        {{qv::kPlatformWindows, 4, 0}, "qvx4k5.hlp", "qvx4k5.chm", false},
        {{qv::kPlatformWindows, 4, 10}, "qvx4k5.chm", "qvx4k5.hlp", true},
        {{qv::kPlatformWindows, 4, 90}, "qvx4k5.chm", "qvx4k5.hlp", true},
        {{qv::kPlatformNt, 4, 0}, "qvx4k5.hlp", "qvx4k5.chm", false},
        {{qv::kPlatformNt, 5, 0}, "qvx4k5.chm", "qvx4k5.hlp", true},
        {{qv::kPlatformNt, 10, 0}, "qvx4k5.chm", "qvx4k5.hlp", true},
        {{qv::kPlatformWin32s, 3, 1}, "qvx4k5.chm", "qvx4k5.hlp", true},
    };
    for (const PlatformRow& row : rows) {
        SetCurrentPlatform(row.platform);
        for (const bool ownFile : {true, false}) {
            RemoveHelpFiles();
            Put(ownFile ? row.file : row.other);
            PanelUnderTest dlg;
            RunModal(dlg, [&] {
                EXPECT_EQ(dlg.HelpPath(), ModuleFolder() + Widen(row.file)) << row.file;
                EXPECT_EQ(dlg.HelpIsHtml(), row.html) << row.file;
                // No fallback to the other format.
                EXPECT_EQ(HelpEnabled(dlg), ownFile) << row.platform.platformId << " " << row.platform.major
                                                     << "." << row.platform.minor << " own " << ownFile;
                // Grayed for the whole run.
                dlg.SendCommand(ID_DATA_CHECK);
                EXPECT_EQ(HelpEnabled(dlg), ownFile);
            });
        }
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(HelpTest, AHelpFileThatCannotBeShownIsReported)
{
    // A file that is no help file at all: the viewer opens no window.
    Put("qvx4k5.chm");
    PanelUnderTest dlg;
    RunModal(dlg, [&] {
        ASSERT_TRUE(HelpEnabled(dlg));
        RemoveHelpFiles();
        PressKey(dlg, ::GetFocus(), VK_F1);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, W(kHelpMissing));
        EXPECT_EQ(boxes.Calls()[0].caption, PanelCaption());
        EXPECT_EQ(boxes.Calls()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_TRUE(HelpEnabled(dlg)) << "nothing else changes";
    });
}

TEST_F(HelpTest, TheBuiltHelpOpensAndClosesWithTheWindow)
{
    const char* exe = std::getenv("QV_EXE");
    ASSERT_NE(exe, nullptr);
    const fs::path built = fs::path(Widen(exe)).parent_path() / "qvx4k5.chm";
    ASSERT_TRUE(fs::exists(built)) << "the build puts qvx4k5.chm beside qvx4k5.exe";
    fs::copy_file(built, folder / "qvx4k5.chm", fs::copy_options::overwrite_existing);
    PanelUnderTest dlg;
    RunModal(dlg, [&] {
        dlg.SendCommand(ID_HELP_CONTENTS);
        EXPECT_TRUE(boxes.Calls().empty());
        const HWND viewer = ::FindWindowW(L"HH Parent", nullptr);
        EXPECT_NE(viewer, nullptr);
    });
    dlg.PumpPendingMessages();
    EXPECT_EQ(::FindWindowW(L"HH Parent", nullptr), nullptr) << "closed with the main window";
}

}  // namespace
