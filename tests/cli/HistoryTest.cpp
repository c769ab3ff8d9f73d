// history and printer:NAME over journals written for each case.
#include <nlohmann/json.hpp>

#include "ToolTestSupport.h"
#include "core/SendJournal.h"
#include "tests/core/BlockText.h"

namespace {

using qv::Delivery;
using qv::SettingsBlock;

class History : public ToolTest {
protected:
    // Appends records to a journal file below the test's folder.
    void Write(const std::string& file, const std::vector<qv::JournalRecord>& records)
    {
        std::filesystem::create_directories((dir / file).parent_path());
        std::ofstream out(dir / file, std::ios::binary | std::ios::app);
        for (const auto& r : records)
            out << qv::JournalLine(r) << '\n';
    }

    const SettingsBlock first = FactoryWith(77, "01"), second = FactoryWith(77, "02");

    // Oldest first: delivered to KQ Line 1 (in the rotated journal), failed
    // to KQ 2, a damaged delivery to KQ Line 1, waiting at "kq line 1".
    void WriteFour()
    {
        qv::JournalRecord damaged =
            Record("KQ Line 1", Delivery::Delivered, second, "2026-12-08T10:02:00.000Z");
        damaged.block[0] = 'x';
        qv::JournalRecord failed = Record("KQ 2", Delivery::Failed, second, "2026-12-08T10:01:00.000Z");
        failed.reason = "オフライン";
        Write("journal/sends.1.jsonl",
              {Record("KQ Line 1", Delivery::Delivered, first, "2026-12-08T10:00:00.000Z")});
        Write("journal/sends.jsonl",
              {failed, damaged, Record("kq line 1", Delivery::Waiting, second, "2026-12-08T10:03:00.000Z")});
    }

    static qv::JournalRecord Record(const std::string& printer, Delivery result, const SettingsBlock& block,
                                    const std::string& time, const std::string& computer = "PC01")
    {
        qv::JournalRecord r;
        r.time = time;
        r.computer = computer;
        r.user = "taro";
        r.printer = printer;
        r.result = result;
        r.file = "/srv/kq/standard.dat";
        qv::SetBlock(r, block);
        return r;
    }

    // The rows' first cells and the rest of each row, in order.
    static std::vector<std::string> Rows(const std::string& out)
    {
        std::vector<std::string> rows;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            rows.push_back(line);
        return rows;
    }
};

TEST_F(History, ListsNewestFirstNumberedPerPrinterWithDamageMarked)
{
    EXPECT_EQ(Run({"history"}).out, "送信履歴はありません。\n");
    WriteFour();
    const ToolRun all = Run({"history"});
    ASSERT_EQ(all.code, 0) << all.err;
    const auto rows = Rows(all.out);
    ASSERT_EQ(rows.size(), 5u) << all.out;
    EXPECT_TRUE(Contains(rows[0], "番号") && Contains(rows[0], "コンピュータ／ユーザー"));
    const struct {
        std::vector<std::string> parts;
    } expected[] = {
        {{"1 ", "kq line 1", "待機中", "PC01／taro"}},
        {{"2 ", "KQ Line 1", "送信完了", "記録が壊れています"}},
        {{"3 ", "KQ 2", "失敗（オフライン）"}},
        {{"4 ", "KQ Line 1", "送信完了"}},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i)
        for (const std::string& part : expected[i].parts)
            EXPECT_TRUE(Contains(rows[i + 1], part)) << rows[i + 1] << " / " << part;
    EXPECT_FALSE(Contains(rows[4], "壊れ"));

    const ToolRun line1 = Run({"history", "--printer", "KQ LINE 1"});
    EXPECT_EQ(Rows(line1.out).size(), 4u) << line1.out;
    EXPECT_FALSE(Contains(line1.out, "KQ 2"));

    const ToolRun json = Run({"history", "--json", "--all-printers"});
    ASSERT_EQ(json.code, 0);
    EXPECT_TRUE(json.outUtf8);
    const auto doc = nlohmann::json::parse(json.out);
    ASSERT_EQ(doc["records"].size(), 4u);
    EXPECT_EQ(doc["records"][1]["number"], 2);
    EXPECT_EQ(doc["records"][1]["damaged"], true);
    EXPECT_EQ(doc["records"][3]["damaged"], false);
    EXPECT_EQ(doc["records"][3]["time"], "2026-12-08T10:00:00.000Z");
    EXPECT_EQ(doc["records"][3]["block"], qv::BlockHex(first));

    const ToolRun both = Run({"history", "--printer", "KQ 2", "--all-printers"});
    EXPECT_EQ(both.code, 2);
    EXPECT_TRUE(Contains(both.err, "同時に指定できません"));
}

TEST_F(History, ShowAndExportTakeTheSettingsOfTheNumberedRecord)
{
    WriteFour();
    const ToolRun show = Run({"history", "--printer", "KQ Line 1", "show", "3"});
    ASSERT_EQ(show.code, 0) << show.err;
    EXPECT_TRUE(Contains(show.out, "KQ Line 1")) << show.out;
    EXPECT_TRUE(Contains(show.out, "select.printPressure"));
    const ToolRun json = Run({"history", "show", "4", "--json"});
    ASSERT_EQ(json.code, 0) << json.err;
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["file"], "/srv/kq/standard.dat");
    const auto shown = nlohmann::json::parse(Run({"show", "--json", Settings("first.dat", first)}).out);
    EXPECT_EQ(doc["settings"], shown["settings"]) << "as show prints it";

    const ToolRun exported = Run({"history", "export", "4", "-o", Path("out.dat")});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const auto saved = qv::EncodeSettingsFile(first);
    EXPECT_EQ(ReadBytes("out.dat"), std::vector<std::uint8_t>(saved.begin(), saved.end()));

    const struct {
        std::vector<std::string> args;
        std::string message;
    } refused[] = {
        {{"history", "show", "2"}, "番号 2 の記録は壊れているため"},
        {{"history", "show", "5"}, "番号 5 の記録はありません（1 から 4 まで）"},
        {{"history", "--printer", "KQ 9", "show", "1"}, "送信履歴が空です"},
        {{"history", "export", "0", "-o", Path("zero.dat")}, "番号 0 の記録はありません"},
        {{"history", "export", "1", "-o", dir.string()}, "書き込み"},
        {{"history", "--journal", Path("nowhere"), "show", "1"}, "フォルダーが見つかりません"},
    };
    for (const auto& c : refused) {
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.code, 2) << c.message;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    }
    EXPECT_FALSE(Exists("zero.dat"));
}

TEST_F(History, PrinterNameReadsTheSettingsLastDeliveredThere)
{
    WriteFour();
    const std::string changed = Settings("new.dat", FactoryWith(77, "03"));
    const ToolRun diff = Run({"diff", "printer:KQ Line 1", changed});
    EXPECT_EQ(diff.code, 1) << diff.err;
    EXPECT_TRUE(Contains(diff.out, "+1") && Contains(diff.out, "+3"))
        << "from the delivered record, not the damaged one";
    EXPECT_EQ(Run({"diff", "printer:kq line 1", Settings("first.dat", first)}).code, 0);
    EXPECT_EQ(Run({"check", "printer:KQ Line 1"}).code, 0);
    EXPECT_EQ(Run({"export", "printer:KQ Line 1", "-o", Path("x.json")}).code, 0);

    for (const std::string name : {"printer:KQ 2", "printer:KQ 9"}) {
        const ToolRun show = Run({"show", name});
        EXPECT_EQ(show.code, 2);
        EXPECT_TRUE(Contains(show.err, name + ": 送信履歴に、プリンタ \"" + name.substr(8) +
                                           "\" へ送信が完了した記録がありません"))
            << show.err;
    }
}

TEST_F(History, JournalFolderListsEveryComputersRecordsByTime)
{
    Write("site/PC02.1.jsonl",
          {Record("KQ 1", Delivery::Delivered, first, "2026-12-08T09:00:00.000Z", "PC02")});
    Write("site/PC02.jsonl", {Record("KQ 1", Delivery::Failed, first, "2026-12-08T11:00:00.000Z", "PC02")});
    Write("site/PC01.jsonl", {Record("KQ 1", Delivery::Waiting, first, "2026-12-08T10:00:00.000Z")});
    Write("site/notes.txt", {Record("KQ 1", Delivery::Delivered, first, "2026-12-08T12:00:00.000Z")});
    const ToolRun run = Run({"history", "--journal", Path("site")});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 4u) << run.out;
    EXPECT_TRUE(Contains(rows[1], "失敗") && Contains(rows[1], "PC02"));
    EXPECT_TRUE(Contains(rows[2], "待機中") && Contains(rows[2], "PC01"));
    EXPECT_TRUE(Contains(rows[3], "送信完了") && Contains(rows[3], "PC02"));
}

}  // namespace
