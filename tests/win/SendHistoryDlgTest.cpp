// The send history against a journal file in a folder of the test's own.
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
            PressKey(dlg, ::GetFocus(), 'H', true);
            EXPECT_EQ(boxes.Texts(), std::vector{LoadResString(IDS_ASK_DISCARD)});
            boxes.Clear();
            EXPECT_EQ(dlg.workingBlock, answer == IDYES ? kEighty : edited);
            EXPECT_EQ(dlg.savedBlock, answer == IDYES ? kEighty : qv::FactoryDefaults);
            EXPECT_EQ(dlg.lastFile.has_value(), answer == IDNO) << "an opened record comes from no file";
        }
    });
}

TEST_F(SendHistoryTest, EachSendOfThePanelIsRecorded)
{
    RunModal(dlg, [&] { dlg.SendCommand(ID_SEND); });
    const auto records = journal.Read();
    ASSERT_EQ(records.size(), 1u);
    const qv::JournalRecord& r = records[0];
    EXPECT_EQ(std::tie(r.program, r.printer, r.port, r.route),
              std::tie("qvx4k5", "KQ Default", "LPT1:", "spooler"));
    EXPECT_TRUE(r.result == qv::Delivery::Delivered && r.block == qv::BlockHex(qv::FactoryDefaults));
}

}  // namespace
