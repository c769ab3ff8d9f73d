// printers and send against a fake spooler: the panel's rules and order,
// one job per target with the bytes the panel sends, exit codes, the log.
#include <nlohmann/json.hpp>

#include "ToolTestSupport.h"
#include "cli/Sha256.h"
#include "tests/core/BlockText.h"

namespace {

using qv::SettingsBlock;

class Send : public ToolTest {
protected:
    // Loading repairs this block, so the job must differ from the file.
    SettingsBlock stored = FactoryWith(258, "0A");
    std::string file;

    void SetUp() override
    {
        ToolTest::SetUp();
        withSpooler = true;
        spooler.Add(L"KQ Beta", L"LPT2:").Add(L"KQ Alpha", L"LPT1:").Add(L"KQ File", L"FILE:");
        spooler.Add(L"Laser", L"LPT3:");
        spooler.printers.back().driver = L"Laser driver";
        file = Settings("job.dat", stored);
    }
    std::vector<std::uint8_t> Sent() const
    {
        const qv::SettingsBlock block = qv::LoadAsPanel(stored).block;
        return {block.begin(), block.end()};
    }
    std::vector<std::wstring> JobPrinters() const
    {
        std::vector<std::wstring> names;
        for (const auto& job : spooler.jobs) {
            EXPECT_EQ(job.data, Sent());
            EXPECT_EQ(job.docName, L"Quorvex Status Write");
            names.push_back(job.printer);
        }
        return names;
    }
};

TEST_F(Send, PrintersAreListedAsTheSelectionDialogListsThem)
{
    const ToolRun text = Run({"printers"});
    EXPECT_EQ(text.code, 0);
    const auto alpha = text.out.find("KQ Alpha"), beta = text.out.find("KQ Beta"),
               fileAt = text.out.find("KQ File");
    EXPECT_TRUE(alpha < beta && beta < fileAt) << text.out;
    EXPECT_FALSE(Contains(text.out, "Laser"));
    EXPECT_TRUE(Contains(text.out, "送信できません: 接続先がFILEのため設定値を送信できません。"));

    spooler.Add(L"\\\\srv\\KQ Net", L"NE01:");
    spooler.printers.back().server = L"\\\\srv";
    spooler.printers.back().attributes = 0x10;
    const ToolRun json = Run({"printers", "--json"});
    ASSERT_EQ(json.code, 0);
    const auto doc = nlohmann::json::parse(json.out);
    ASSERT_EQ(doc["printers"].size(), 4u);
    EXPECT_EQ(doc["printers"][0]["name"], "KQ Alpha");
    EXPECT_EQ(doc["printers"][0]["port"], "LPT1:");
    EXPECT_TRUE(doc["printers"][0]["server"].is_null());
    EXPECT_EQ(doc["printers"][2]["sendable"], false);
    EXPECT_EQ(doc["printers"][3]["name"], "\\\\srv\\KQ Net");
    EXPECT_EQ(doc["printers"][3]["server"], "\\\\srv");
}

TEST_F(Send, TargetsExitCodesAndJobs)
{
    spooler.Add(L"\\\\srv\\Queue", L"IP_10.0.0.9");  // a server's queue without a connection here
    spooler.printers.back().server = L"\\\\srv";
    spooler.printers.back().connected = false;
    const struct {
        const char* what;
        std::vector<std::string> targets;
        int code;
        std::vector<std::wstring> jobs;
        std::vector<std::string> errors;
    } cases[] = {
        {"one printer", {"--printer", "KQ Alpha"}, 0, {L"KQ Alpha"}, {}},
        {"two printers", {"--printer", "KQ Beta", "--printer", "KQ Alpha"}, 0, {L"KQ Beta", L"KQ Alpha"}, {}},
        {"a server's queue by UNC name", {"--printer", "\\\\srv\\Queue"}, 0, {L"\\\\srv\\Queue"}, {}},
        {"missing among present",
         {"--printer", "KQ Gamma", "--printer", "KQ Alpha"},
         3,
         {L"KQ Alpha"},
         {"KQ Gamma: 送信しません: プリンタが見つかりません。"}},
        {"missing UNC name", {"--printer", "\\\\srv\\Nothing"}, 3, {}, {"プリンタが見つかりません。"}},
        {"FILE printer",
         {"--printer", "KQ File"},
         3,
         {},
         {"KQ File (FILE:): 送信しません: 接続先がFILEのため"}},
        {"other model", {"--printer", "Laser"}, 3, {}, {"ドライバが \"Laser driver\" です"}},
        {"every eligible printer, FILE skipped",
         {"--all"},
         0,
         {L"KQ Alpha", L"KQ Beta"},
         {"KQ File (FILE:): 送信しません"}},
    };
    for (const auto& c : cases) {
        spooler.jobs.clear();
        std::vector<std::string> args = {"send", file};
        args.insert(args.end(), c.targets.begin(), c.targets.end());
        const ToolRun run = Run(args);
        EXPECT_EQ(run.code, c.code) << c.what << "\n" << run.out << run.err;
        EXPECT_EQ(JobPrinters(), c.jobs) << c.what;
        for (const std::string& error : c.errors)
            EXPECT_TRUE(Contains(run.err, error)) << c.what << "\n" << run.err;
    }
}

TEST_F(Send, OneFailingPrinterDoesNotStopTheOthers)
{
    spooler.printers[0].result = qv::SendOutcome{qv::Delivery::Failed, "ジョブを最後まで書き込めませんでした", 1, false};  // KQ Beta
    const ToolRun run = Run({"send", file, "--all"});
    EXPECT_EQ(run.code, 4);
    EXPECT_EQ(JobPrinters(), (std::vector<std::wstring>{L"KQ Alpha", L"KQ Beta"}));
    EXPECT_TRUE(Contains(run.out, "KQ Alpha (LPT1:): 送信しました。"));
    EXPECT_TRUE(
        Contains(run.err, "KQ Beta (LPT2:): 送信できませんでした: ジョブを最後まで書き込めませんでした。"));
    EXPECT_TRUE(Contains(run.out, "送信 1 件、失敗 1 件、送信しなかったもの 1 件。")) << run.out;
    EXPECT_FALSE(Contains(run.out, "KQ Beta (LPT2:): 送信しました")) << "a failure is never reported as sent";
}

TEST_F(Send, AllWithoutASendablePrinterIsNoPrinter)
{
    spooler.printers = {};
    EXPECT_EQ(Run({"send", file, "--all"}).code, 3);
    spooler.Add(L"KQ File", L"FILE:");
    const ToolRun onlyFile = Run({"send", file, "--all"});
    EXPECT_EQ(onlyFile.code, 3);
    EXPECT_TRUE(spooler.jobs.empty());
}

TEST_F(Send, DryRunSaysWhatWouldGoWhereAndSendsNothing)
{
    const ToolRun run = Run({"send", file, "--all", "--dry-run", "--log", Path("log.jsonl")});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(spooler.jobs.empty());
    EXPECT_TRUE(Contains(run.out, "SHA-256 " + qv::cli::Sha256Hex(Sent())));
    EXPECT_TRUE(Contains(run.out, "KQ Alpha (LPT1:): 送信します。"));
    EXPECT_TRUE(Contains(run.out, "送信予定 2 件"));
    EXPECT_FALSE(Exists("log.jsonl"));
}

TEST_F(Send, LogHasOneJsonLinePerTargetAndIsAppended)
{
    spooler.printers[0].result = qv::SendOutcome{qv::Delivery::Failed, "", 0, true};
    WriteText("log.jsonl", "{\"earlier\":true}\n");
    Run({"send", file, "--printer", "KQ Alpha", "--printer", "KQ Beta", "--printer", "Nope", "--log",
         Path("log.jsonl")});
    const auto log = ReadBytes("log.jsonl");
    std::istringstream lines(std::string(log.begin(), log.end()));
    std::vector<nlohmann::json> entries;
    for (std::string line; std::getline(lines, line);)
        entries.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0]["earlier"], true);
    const char* results[] = {"sent", "failed", "missing"};
    const char* targets[] = {"KQ Alpha", "KQ Beta", "Nope"};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& e = entries[i + 1];
        EXPECT_EQ(e["time"], now);
        EXPECT_EQ(e["target"], targets[i]);
        EXPECT_EQ(e["result"], results[i]);
        EXPECT_EQ(e["sha256"], qv::cli::Sha256Hex(Sent()));
        EXPECT_EQ(e["file"], file);
    }
    EXPECT_EQ(entries[1]["port"], "LPT1:");
    EXPECT_TRUE(Contains(entries[2]["detail"], "現在接続されていないか"));
}

TEST_F(Send, NothingIsSentWhenTheLogOrTheFileCannotBeUsed)
{
    std::filesystem::create_directory(dir / "logdir");
    const ToolRun badLog = Run({"send", file, "--all", "--log", Path("logdir")});
    EXPECT_EQ(badLog.code, 2);
    EXPECT_TRUE(Contains(badLog.err, "ログファイルに書き込めません。何も送信していません。"));
    WriteText("not.dat", "hello");
    EXPECT_EQ(Run({"send", Path("not.dat"), "--all"}).code, 2);
    EXPECT_EQ(Run({"send", file, "--all", "--printer", "KQ Alpha"}).code, 2);
    EXPECT_TRUE(spooler.jobs.empty());
}

}  // namespace
