// The send history, the settings comparison and the journal record of each
// send, against a journal file in a folder of the test's own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>

#include "PanelUnderTest.h"
#include "TestSupport.h"
#include "core/SettingsCatalogue.h"
#include "core/SettingsFile.h"
#include "core/Sha256.h"
#include "framework/ListView.h"
#include "framework/Text.h"
#include "resource.h"
#include "storage/JournalWin32.h"
#include "storage/SettingsFileWin32.h"
#include "ui/JournalAccess.h"
#include "ui/SendHistoryDlg.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::wstring>>;

// The factory settings with some of them changed.
qv::SettingsBlock With(const std::vector<std::pair<const char*, qv::SettingValue>>& edits)
{
    qv::PanelValues values = qv::StartupPanelValues();
    for (const auto& [key, value] : edits)
        qv::SetValue(*qv::FindSetting(key), values, value);
    qv::SettingsBlock block = qv::FactoryDefaults;
    values.Store(block);
    return block;
}

const qv::SettingsBlock kEighty = With({{"msw2.printColumns", std::string("８０桁")}});
const qv::SettingsBlock kCourier = With({{"param.font2", std::string("クーリエ")}});
// The compare list's row for font 2, the base's value first.
const std::vector<std::wstring> kCourierRow = {W("パラメータ設定"), W("フォント選択 フォント２"),
                                               W("クーリエ"), W("標準")};

// A journal line of a send by PC01／tanaka; no block gives a damaged record.
std::string Line(const char* printer, qv::Delivery result, const std::optional<qv::SettingsBlock>& block,
                 const char* reason = "")
{
    qv::JournalRecord r;
    r.time = "2026-01-01T09:00:00.000Z";
    r.computer = "PC01";
    r.user = "tanaka";
    r.printer = printer;
    r.result = result;
    r.reason = reason;
    r.block = block ? qv::BlockHex(*block) : "00ff";
    r.sha256 = qv::Sha256Hex(block.value_or(qv::FactoryDefaults));
    return qv::JournalLine(r) + '\n';
}

Rows ListRows(HWND list, int first, int columns)
{
    Rows rows(static_cast<std::size_t>(ListView_GetItemCount(list)));
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int c = first; c < columns; ++c)
            rows[i].push_back(ListItemText(list, static_cast<int>(i), c));
    return rows;
}

bool Enabled(const CDialog& d, int id) { return ::IsWindowEnabled(d.GetDlgItem(id)) != FALSE; }

void Click(CDialog& d, int id)
{
    ::SendMessageW(d.GetDlgItem(id), BM_CLICK, 0, 0);
    d.PumpPendingMessages();
}

class SendHistoryTest : public testing::Test {
protected:
    fs::path dir =
        fs::temp_directory_path() /
        (std::string("qv_history_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    qv::SendJournal journal{{dir / "Quorvex" / "sends.jsonl", {}}, Win32JournalSteps()};
    MessageBoxRecorder boxes;
    FileDialogRecorder dialogs;
    PanelUnderTest dlg;

    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir / "Quorvex");
        SetCurrentJournal(&journal);
    }
    void TearDown() override
    {
        SetCurrentJournal(nullptr);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // Nothing: no journal file at all.
    void Write(const std::optional<std::string>& text)
    {
        fs::remove(journal.Places().userFile);
        if (text)
            std::ofstream(journal.Places().userFile, std::ios::binary) << *text;
    }
};

TEST_F(SendHistoryTest, ListsThePrintersRecordsNewestFirstOrEveryPrintersAndLocksDamagedOnes)
{
    const std::string three = Line("KQ Default", qv::Delivery::Delivered, kEighty) +
                              Line("KQ Other", qv::Delivery::Waiting, qv::FactoryDefaults, "オフライン") +
                              Line("KQ Default", qv::Delivery::Failed, std::nullopt) +
                              "{\"time\":\"2026-01-04";  // torn: a writer stopped half way
    using Row = std::vector<std::wstring>;
    const Row damaged = {L"KQ Default", W("失敗"), W("PC01／tanaka"), W("記録が壊れています")};
    const Row delivered = {L"KQ Default", W("届きました"), W("PC01／tanaka"), L"1"};
    const Row other = {L"KQ Other", W("キューで待機中（オフライン）"), W("PC01／tanaka"), L"0"};
    const struct {
        std::optional<std::string> journal;
        bool all;
        Rows rows;  // プリンタ, 結果, コンピュータ／ユーザー, 変更点 (newest first)
    } cases[] = {
        {three, false, {damaged, delivered}},
        {three, true, {damaged, other, delivered}},
        {std::nullopt, false, {}},
        {"not json\n{\"time\":", true, {}},
    };
    const qv::PanelValues panel = qv::StartupPanelValues();
    for (const auto& c : cases) {
        Write(c.journal);
        CSendHistoryDlg history(L"KQ Default", panel);
        RunModal(history, [&] {
            if (c.all)
                Click(history, IDC_HISTORY_ALL);
            EXPECT_EQ(ListRows(history.GetDlgItem(IDC_HISTORY_LIST), 1, 5), c.rows) << c.all;
            EXPECT_EQ(history.GetDlgItemText(IDC_HISTORY_NOTE),
                      LoadResString(c.rows.empty() ? IDS_HISTORY_EMPTY : IDS_HISTORY_CHANGES_NOTE));
            // Nothing, or the damaged newest record, is selected; then the oldest one.
            for (const bool whole : {false, true}) {
                if (whole && !c.rows.empty())
                    SelectListItem(history.GetDlgItem(IDC_HISTORY_LIST), static_cast<int>(c.rows.size()) - 1);
                for (const int id : {IDOK, IDC_HISTORY_COMPARE, IDC_HISTORY_SAVE})
                    EXPECT_EQ(Enabled(history, id), whole && !c.rows.empty()) << id;
            }
        });
    }
}

TEST_F(SendHistoryTest, OpenAsksAsALoadDoesThenTakesTheRecordAsWorkingAndSavedCopy)
{
    Write(Line("KQ Default", qv::Delivery::Delivered, kEighty));
    RunModal(dlg, [&] {
        dlg.lastFile = L"C:\\old.dat";
        qv::SettingsBlock edited = With({{"param.font1", std::string("ゴシック")}});
        dlg.DistributeToPages(edited);
        dlg.OnDataCheck();
        for (const int answer : {IDNO, IDYES}) {
            boxes.Answer(answer);
            CDialog::QueueModalScript([](CDialog& history) { Click(history, IDOK); });
            // Ctrl+H first, then the toolbar button.
            if (answer == IDNO)
                PressKey(dlg, ::GetFocus(), 'H', true);
            else
                dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TB_HISTORY, BN_CLICKED),
                                reinterpret_cast<LPARAM>(dlg.toolbar.m_hWnd));
            EXPECT_EQ(boxes.Texts(), std::vector{LoadResString(IDS_ASK_DISCARD)});
            boxes.Clear();
            EXPECT_EQ(dlg.workingBlock, answer == IDYES ? kEighty : edited);
            EXPECT_EQ(dlg.savedBlock, answer == IDYES ? kEighty : qv::FactoryDefaults);
            EXPECT_EQ(dlg.lastFile.has_value(), answer == IDNO) << "an opened record comes from no file";
        }
    });
}

TEST_F(SendHistoryTest, ReviewStartsAtTheLastDeliveredThenTheLastFileThenTheFactory)
{
    const fs::path file = dir / "base.dat";
    ASSERT_EQ(WriteSettingsFileWin32(file, kCourier), qv::FileWriteResult::Ok);
    // The newest delivered record of the printer in use, not a failed or another printer's.
    const std::string journal = Line("KQ Default", qv::Delivery::Delivered, kEighty) +
                                Line("KQ Default", qv::Delivery::Failed, kCourier) +
                                Line("KQ Other", qv::Delivery::Delivered, kCourier);
    const Rows eighty = {{W("ＭＳＷ２"), W("印刷桁数の切り替え （MSW2-7）"), W("８０桁"), W("１３６桁")}};
    const struct {
        std::string journal;
        bool withFile;
        int bases;
        const char* first;  // the default base's name begins so
        Rows rows;
    } cases[] = {
        {journal, true, 3, "プリンタへ最後に送信した設定", eighty},
        {"", true, 2, "最後に読み込み・保存したファイル（base.dat）", {kCourierRow}},
        {"", false, 1, "工場出荷設定", {}},
    };
    for (const auto& c : cases) {
        Write(c.journal);
        RunModal(dlg, [&] {
            dlg.lastFile = c.withFile ? std::optional(file.wstring()) : std::nullopt;
            CDialog::QueueModalScript([&](CDialog& compare) {
                EXPECT_EQ(compare.SendDlgItemMessage(IDC_COMPARE_BASE, CB_GETCOUNT), c.bases);
                EXPECT_EQ(compare.GetDlgItemText(IDC_COMPARE_BASE).rfind(W(c.first), 0), 0u);
                EXPECT_EQ(ListRows(compare.GetDlgItem(IDC_COMPARE_LIST), 0, 4), c.rows) << c.first;
                compare.EndDialog(IDCANCEL);
            });
            dlg.SendCommand(ID_REVIEW_CHANGES);
        });
    }
}

TEST_F(SendHistoryTest, EachSendIsRecordedAndAJournalThatFailsStopsNothing)
{
    const fs::path file = dir / "saved.dat";
    RunModal(dlg, [&] {
        dialogs.Answer(file.wstring());
        dlg.SendCommand(ID_FILE_SAVE);
        dlg.SendCommand(ID_SEND);
    });
    const auto records = journal.Read();
    ASSERT_EQ(records.size(), 1u);
    const qv::JournalRecord& r = records[0];
    EXPECT_EQ(std::tie(r.program, r.printer, r.port, r.route),
              std::tie("qvx4k5", "KQ Default", "LPT1:", "spooler"));
    EXPECT_EQ(r.result, qv::Delivery::Delivered);
    EXPECT_EQ(r.block, qv::BlockHex(qv::FactoryDefaults));
    EXPECT_EQ(r.file, Narrow(file.wstring()));
    EXPECT_FALSE(r.server);

    qv::JournalSteps refusing = Win32JournalSteps();
    refusing.append = [](const fs::path&, std::string_view, std::string&) { return false; };
    const qv::SendJournal broken({dir / "x.jsonl", {}}, refusing);
    SetCurrentJournal(&broken);
    RunModal(dlg, [&] {
        dlg.SendCommand(ID_SEND);
        EXPECT_EQ(boxes.Texts().back(), LoadResString(IDS_SENT));
        wchar_t part[200] = {};
        ::SendMessageW(dlg.statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(part));
        EXPECT_EQ(std::wstring(part), LoadResString(IDS_JOURNAL_FAILED));
    });
}

}  // namespace
