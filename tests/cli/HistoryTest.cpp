// history and printer:NAME over journals written for each case.
#include <nlohmann/json.hpp>

#include "ToolTestSupport.h"
#include "tests/core/BlockText.h"
#include "tests/core/JournalLines.h"

namespace {

using qv::Delivery;

const qv::SettingsBlock kFirst = FactoryWith(77, "01"), kSecond = FactoryWith(77, "02");

// A record made at 10 + `hour` o'clock.
qv::JournalRecord Made(const std::string& printer, Delivery result, const qv::SettingsBlock& block, int hour,
                       const std::string& computer = "PC01")
{
    qv::JournalRecord r = Record(printer, result, block);
    r.time = "2026-12-08T" + std::to_string(10 + hour) + ":00:00.000Z";
    r.computer = computer;
    r.user = "taro";
    r.file = "/srv/kq/standard.dat";
    return r;
}

class History : public ToolTest {
protected:
    void Write(const std::string& file, const std::vector<qv::JournalRecord>& records)
    {
        std::filesystem::create_directories((dir / file).parent_path());
        std::ofstream out(dir / file, std::ios::app);
        for (const auto& r : records)
            out << qv::JournalLine(r) << '\n';
    }
    // Oldest first, the first in the rotated journal.
    void WriteFour()
    {
        auto failed = Made("KQ 2", Delivery::Failed, kSecond, 1),
             damaged = Made("KQ Line 1", Delivery::Delivered, kSecond, 2);
        failed.reason = "オフライン";
        damaged.block[0] = 'x';
        Write("journal/sends.1.jsonl", {Made("KQ Line 1", Delivery::Delivered, kFirst, 0)});
        Write("journal/sends.jsonl", {failed, damaged, Made("kq line 1", Delivery::Waiting, kSecond, 3)});
    }
    // The listed records: "number printer", "!" after a damaged one.
    std::string Listed(std::vector<std::string> args)
    {
        args.push_back("--json");
        const auto doc = nlohmann::json::parse(Run(args).out);
        std::string list;
        for (const auto& r : doc["records"])
            list += std::to_string(r["number"].get<int>()) + " " + r["printer"].get<std::string>() +
                    (r["damaged"] ? "!" : "") +
                    (r["block"].get<std::string>() == qv::BlockHex(kFirst) ? "=" : "") + ",";
        return list;
    }
};

TEST_F(History, ListsNewestFirstNumberedPerPrinterOrForEveryComputerOfAFolder)
{
    EXPECT_EQ(Run({"history"}).out, "送信履歴はありません。\n");
    WriteFour();
    const std::string text = Run({"history"}).out;
    for (const char* part :
         {"番号  日時", "  プリンタ   結果", "  コンピュータ／ユーザー\n1  ", "kq line 1  キューで待機中",
          "届きました ［記録が壊れています］", "KQ 2       失敗（オフライン）", "PC01／taro\n4  "})
        EXPECT_TRUE(Contains(text, part)) << part << "\n" << text;
    EXPECT_EQ(Listed({"history"}), "1 kq line 1,2 KQ Line 1!,3 KQ 2,4 KQ Line 1=,");
    EXPECT_EQ(Listed({"history", "--printer", "KQ LINE 1"}), "1 kq line 1,2 KQ Line 1!,3 KQ Line 1=,");

    Write("site/PC02.1.jsonl", {Made("A", Delivery::Delivered, kFirst, 0, "PC02")});
    Write("site/PC02.jsonl", {Made("C", Delivery::Failed, kFirst, 2, "PC02")});
    Write("site/PC01.jsonl", {Made("B", Delivery::Waiting, kFirst, 1)});
    Write("site/notes.txt", {Made("D", Delivery::Delivered, kFirst, 3)});
    EXPECT_EQ(Listed({"history", "--journal", Path("site")}), "1 C=,2 B=,3 A=,");
}

TEST_F(History, ShowExportAndPrinterNameTakeTheSettingsOfARecord)
{
    WriteFour();
    const ToolRun show = Run({"history", "--printer", "KQ Line 1", "show", "3", "--json"});
    const auto shown = nlohmann::json::parse(show.out);
    EXPECT_EQ(shown["file"], "/srv/kq/standard.dat");
    EXPECT_EQ(shown["settings"],
              nlohmann::json::parse(Run({"show", "--json", Settings("1.dat", kFirst)}).out)["settings"]);
    ASSERT_EQ(Run({"history", "export", "4", "-o", Path("out.dat")}).code, 0);
    EXPECT_EQ(ReadBytes("out.dat"), ReadBytes("1.dat"));

    const struct {
        std::vector<std::string> args;
        std::string message;
    } refused[] = {
        {{"history", "show", "2"}, "番号 2 の記録は壊れているため"},
        {{"history", "export", "5", "-o", Path("5.dat")}, "番号 5 の記録はありません（1 から 4 まで）"},
        {{"history", "--printer", "KQ 9", "show", "1"}, "送信履歴が空です"},
        {{"history", "--printer", "KQ 2", "--all-printers"}, "同時に指定できません"},
        {{"show", "printer:KQ 2"},
         "printer:KQ 2: 送信履歴に、プリンタ \"KQ 2\" へ送信が完了した記録がありません"},
    };
    for (const auto& c : refused) {
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.code, 2) << c.message;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    }
    EXPECT_FALSE(Exists("5.dat"));

    // printer:NAME: the delivered record, not the damaged or waiting ones after it.
    const ToolRun diff = Run({"diff", "printer:KQ Line 1", Settings("3.dat", FactoryWith(77, "03"))});
    EXPECT_EQ(diff.code, 1) << diff.err;
    EXPECT_TRUE(Contains(diff.out, "+1") && Contains(diff.out, "+3")) << diff.out;
    EXPECT_EQ(Run({"diff", "printer:kq line 1", Settings("1.dat", kFirst)}).code, 0);
    EXPECT_EQ(Run({"check", "printer:KQ Line 1"}).code, 0);
}

}  // namespace
