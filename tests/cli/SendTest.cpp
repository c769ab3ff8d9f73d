// printers and send against a fake spooler and printers on the loopback:
// the panel's rules and order, one job per target with the bytes the panel
// sends, outcomes and exit codes, target lists, the log and the journal.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <memory>

#include "LoopbackPeer.h"
#include "ToolTestSupport.h"
#include "core/Sha256.h"
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
    // Sorted: the jobs of one run start side by side.
    std::vector<std::wstring> JobPrinters() const
    {
        std::vector<std::wstring> names;
        for (const auto& job : spooler.jobs) {
            EXPECT_EQ(job.data, Sent());
            EXPECT_EQ(job.docName, L"Quorvex Status Write");
            names.push_back(job.printer);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<nlohmann::json> LogLines(const std::string& name) const
    {
        const auto bytes = ReadBytes(name);
        std::istringstream lines(std::string(bytes.begin(), bytes.end()));
        std::vector<nlohmann::json> entries;
        for (std::string line; std::getline(lines, line);)
            entries.push_back(nlohmann::json::parse(line));
        return entries;
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
        {"two printers", {"--printer", "KQ Beta", "--printer", "KQ Alpha"}, 0, {L"KQ Alpha", L"KQ Beta"}, {}},
        {"again, in other case", {"--printer", "KQ Alpha", "--printer", "kq alpha"}, 0, {L"KQ Alpha"}, {}},
        {"--all and a named printer", {"--all", "--printer", "KQ Beta"}, 0, {L"KQ Alpha", L"KQ Beta"}, {}},
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
    spooler.printers[0].result =
        qv::SendOutcome{qv::Delivery::Failed, "ジョブを最後まで書き込めませんでした", 1, false};  // KQ Beta
    const ToolRun run = Run({"send", file, "--all"});
    EXPECT_EQ(run.code, 4);
    EXPECT_EQ(JobPrinters(), (std::vector<std::wstring>{L"KQ Alpha", L"KQ Beta"}));
    EXPECT_TRUE(Contains(run.out, "KQ Alpha (LPT1:): 届きました。"));
    EXPECT_TRUE(Contains(run.err, "KQ Beta (LPT2:): 失敗（ジョブを最後まで書き込めませんでした）。"));
    EXPECT_TRUE(Contains(run.out, "届きました 1 件、キューで待機中 0 件、未確認 0 件、失敗 1 件、"))
        << run.out;
    EXPECT_FALSE(Contains(run.out, "KQ Beta (LPT2:): 届きました"))
        << "a failure is never reported as delivered";
    quiet = true;
    const ToolRun quietRun = Run({"send", file, "--all"});
    EXPECT_TRUE(quietRun.out.empty() && Contains(quietRun.err, "KQ Beta (LPT2:): 失敗")) << quietRun.out;
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
    EXPECT_TRUE(Contains(run.out, "SHA-256 " + qv::Sha256Hex(Sent())));
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
    const char* results[] = {"delivered", "failed", "missing"};
    const char* targets[] = {"KQ Alpha", "KQ Beta", "Nope"};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& e = entries[i + 1];
        EXPECT_EQ(e["time"], now);
        EXPECT_EQ(e["target"], targets[i]);
        EXPECT_EQ(e["result"], results[i]);
        EXPECT_EQ(e["sha256"], qv::Sha256Hex(Sent()));
        EXPECT_EQ(e["file"], file);
        EXPECT_EQ(e["computer"], "PC01");
        EXPECT_EQ(e["user"], qv::cli::PosixJournalSteps().user());
    }
    EXPECT_EQ(entries[1]["port"], "LPT1:");
    EXPECT_TRUE(Contains(entries[2]["detail"], "現在接続されていないか"));
}

TEST_F(Send, NothingIsSentFromAFileThatIsRefused)
{
    WriteText("not.dat", "hello");
    EXPECT_EQ(Run({"send", Path("not.dat"), "--all", "--printer", "No", "--log", Path("log.jsonl")}).code, 2);
    EXPECT_TRUE(spooler.jobs.empty());
    const auto log = LogLines("log.jsonl");  // the refused file: every target says why
    ASSERT_EQ(log.size(), 4u);
    EXPECT_TRUE(log[0]["result"] == "refused" && log[3]["result"] == "missing");
    EXPECT_TRUE(Contains(log[0]["detail"], "設定ファイルではありません（")) << log[0];
}

TEST_F(Send, ALogIsTriedFirstAndItsFailuresFailTheRun)
{
    WriteText("old.jsonl", "{\"earlier\":true}\n");
    const struct {
        std::vector<std::string> args;
        int code;
        const char* error;
        std::size_t jobs;
    } cases[] = {
        {{"--log", Path("none/log.jsonl")}, 4, "何も送信していません。", 0},
        {{"--log", Path("")}, 4, "ログファイルに書き込めません（フォルダーです）。何も送信していません。", 0},
        {{"--log", "/dev/full"}, 4, "/dev/full: ログファイルへの書き込みに失敗しました。", 2},
        {{"--dry-run", "--log", Path("none/log.jsonl")}, 4, "ログファイルに書き込めません", 0},
        {{"--dry-run", "--log", Path("old.jsonl")}, 0, "", 0},
        {{"--jobs", "65", "--log", Path("log.jsonl")}, 2, "--jobs は 1 から 64 までの数", 0},
    };
    for (const auto& c : cases) {
        spooler.jobs.clear();
        std::vector<std::string> args = {"send", file, "--all"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = Run(args);
        EXPECT_EQ(run.code, c.code) << c.args.back() << "\n" << run.err;
        EXPECT_TRUE(Contains(run.err, c.error)) << run.err;
        EXPECT_EQ(spooler.jobs.size(), c.jobs) << c.args.back();
    }
    EXPECT_EQ(LogLines("old.jsonl").size(), 1u) << "a dry run appends nothing";
    EXPECT_FALSE(Exists("log.jsonl")) << "a refused command line leaves no log";
}

TEST_F(Send, EachOutcomeHasItsLineAndExitCode)
{
    const struct {
        qv::SendOutcome outcome;
        std::string more;  // another printer
        const char* line;
        int code;
    } cases[] = {
        {{qv::Delivery::Waiting, "停止", 7, false}, "", "KQ Alpha (LPT1:): キューで待機中（停止）。", 5},
        {{qv::Delivery::Unconfirmed, "", 7, false}, "", "KQ Alpha (LPT1:): 未確認。", 5},
        {{qv::Delivery::Failed, "用紙切れ。", 7, false}, "", "KQ Alpha (LPT1:): 失敗（用紙切れ）。", 4},
        {{qv::Delivery::Waiting, "", 7, false}, "Nope", "KQ Alpha (LPT1:): キューで待機中。", 3},
    };
    for (const auto& c : cases) {
        spooler.printers[1].result = c.outcome;
        const ToolRun run = Run({"send", file, "--printer", "KQ Alpha", "--printer",
                                 c.more.empty() ? "KQ Alpha" : c.more, "--wait", "3"});
        EXPECT_EQ(run.code, c.code) << c.line;
        EXPECT_TRUE(Contains(run.out + run.err, c.line)) << run.out << run.err;
        EXPECT_EQ(spooler.jobs.back().wait, std::chrono::seconds(3));
    }
    Run({"send", file, "--printer", "KQ Alpha", "--wait", "0"});
    EXPECT_EQ(spooler.jobs.back().wait, std::chrono::seconds(0));
}

TEST_F(Send, ManyHostsAtOnceKeepTheirOrderInTheDocumentAndTheLog)
{
    // 'd' closes after reading, 'u' never closes, 'r' resets, 'x' has nobody listening.
    using enum LoopbackPeer::Mode;
    const LoopbackPeer::Mode modes[] = {ClosesAfterReading, NeverCloses, ResetsAtOnce, ClosesAfterReading};
    const char* results[] = {"delivered", "unconfirmed", "failed", "failed"};
    const std::string kinds = "durx", pattern = "ddrduduxduud";
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    std::vector<std::string> args = {"send", file, "--timeout", "1", "--json", "--log", Path("log.jsonl")};
    for (const char kind : pattern) {
        peers.push_back(std::make_unique<LoopbackPeer>(modes[kinds.find(kind)]));
        args.insert(args.end(), {"--host", peers.back()->Target()});
    }
    const std::string nobody = std::to_string(peers[7]->Port());
    peers[7].reset();
    const ToolRun run = Run(args);
    EXPECT_EQ(run.code, 4) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    const auto log = LogLines("log.jsonl");
    ASSERT_EQ(doc["targets"].size(), pattern.size());
    ASSERT_EQ(log.size(), pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::string result = results[kinds.find(pattern[i])];
        const std::string port = i == 7 ? nobody : std::to_string(peers[i]->Port());
        EXPECT_TRUE(doc["targets"][i]["port"] == port && doc["targets"][i]["result"] == result) << i;
        EXPECT_TRUE(log[i]["port"] == port && log[i]["result"] == result) << i;
    }
    EXPECT_EQ(doc["summary"],
              nlohmann::json::parse(R"({"delivered": 6, "waiting": 0, "unconfirmed": 4, "failed": 2,
        "refused": 0, "missing": 0, "dry-run": 0, "exitCode": 4})"));
}

TEST_F(Send, TargetListsFromFilesAndStandardInput)
{
    WriteText("hosts.txt",
              "\xEF\xBB\xBF# floor 1\r\nkq-1.example\r\n\r\n kq-2.example:9101 # door\r\n[2001:db8::5]\r\n");
    WriteText("bad.txt", "kq-1.example\nkq 2.example\n\n::1\n");
    input = "KQ-1.EXAMPLE:9100\nkq-3.example\n";
    const struct {
        std::vector<std::string> args;
        int code;
        std::vector<std::string> parts;  // in this order on standard output, or errors
    } cases[] = {
        {{"--hosts", Path("hosts.txt"), "--hosts", "-"},
         0,
         {"kq-1.example (9100): 送信します。", "kq-2.example (9101)", "2001:db8::5 (9100)", "kq-3", "4 件"}},
        {{"--host", "kq-1.example", "--printer", "KQ Beta", "--all"},
         0,
         {"KQ Alpha (LPT1:)", "KQ Beta (LPT2:)", "kq-1.example (9100)", "3 件、送信しなかったもの 1 件"}},
        {{"--hosts", Path("bad.txt")}, 2, {"bad.txt:2: \"kq 2.example\": HOST", "bad.txt:4: \"::1\""}},
        {{"--hosts", "-", "--hosts", "-"},
         2,
         {"標準入力: ホストの一覧を読み込めません。標準入力 (-) は 1 回"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"send", file, "--dry-run", "--log", Path("log.jsonl")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = Run(args);
        EXPECT_EQ(run.code, c.code) << c.args[1] << "\n" << run.err;
        std::size_t at = 0;
        for (const std::string& part : c.parts)
            EXPECT_NE(at = (c.code ? run.err : run.out).find(part, at), std::string::npos) << part << run.out;
    }
    EXPECT_FALSE(Exists("log.jsonl"));
}

TEST_F(Send, EveryAttemptIsJournalledAndAJournalNeverFailsASend)
{
    spooler.printers[0].result = qv::SendOutcome{qv::Delivery::Failed, "用紙切れ", 4, false};  // KQ Beta
    LoopbackPeer peer(LoopbackPeer::Mode::ClosesAfterReading);
    Run({"send", file, "--all", "--printer", "No", "--host", peer.Target(), "--journal", Path("site")});
    Run({"send", file, "--all", "--dry-run"});
    const auto bytes = ReadBytes("journal/sends.jsonl");
    const auto records = qv::ReadJournalText(std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(records.size(), 3u) << "none for what was not sent, nor for a dry run";
    const std::string expected[][4] = {{"KQ Alpha", "spooler", "delivered", ""},
                                       {"KQ Beta", "spooler", "failed", "用紙切れ"},
                                       {"127.0.0.1", "tcp", "delivered", ""}};
    for (std::size_t i = 0; i < 3; ++i) {
        const qv::JournalRecord& r = records[i];
        const std::string got[] = {r.printer, r.route, std::string(qv::DeliveryName(r.result)), r.reason};
        EXPECT_TRUE(std::equal(got, got + 4, expected[i]) && r.program == "qvx4k5cmd" && r.file == file) << i;
        EXPECT_EQ(qv::BlockOf(r), qv::LoadAsPanel(stored).block);
    }
    EXPECT_EQ(ReadBytes("site/PC01.jsonl"), bytes);
    WriteText("blocked", "");  // a file where the site folder should be
    const ToolRun run = Run({"send", file, "--printer", "KQ Alpha", "--journal", Path("blocked")});
    EXPECT_TRUE(run.code == 0 && Contains(run.err, "警告: 送信履歴に書き込めませんでした（")) << run.err;
}

}  // namespace
