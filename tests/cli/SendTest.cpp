// printers and send against a fake spooler and printers on the loopback:
// the panel's rules and order, one job per target with the bytes the panel
// sends, outcomes and exit codes, target lists, the log and the journal.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <memory>

#include "LoopbackPeer.h"
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
    // Sorted: the jobs of one run start in parallel.
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
    // The lines of a stream between the first and the last (the heading and the summary).
    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
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
        {"a printer given again, in other letter case",
         {"--printer", "KQ Alpha", "--printer", "kq alpha"},
         0,
         {L"KQ Alpha"},
         {}},
        {"--all with a named printer", {"--all", "--printer", "KQ Beta"}, 0, {L"KQ Alpha", L"KQ Beta"}, {}},
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
    EXPECT_TRUE(Contains(
        run.out, "届きました 1 件、キューで待機中 0 件、未確認 0 件、失敗 1 件、送信しなかったもの 1 件。"))
        << run.out;
    EXPECT_FALSE(Contains(run.out, "KQ Beta (LPT2:): 届きました"))
        << "a failure is never reported as delivered";

    quiet = true;
    const ToolRun quietRun = Run({"send", file, "--all"});
    EXPECT_EQ(quietRun.code, 4);
    EXPECT_TRUE(quietRun.out.empty()) << quietRun.out;
    EXPECT_TRUE(Contains(quietRun.err, "KQ Beta (LPT2:): 失敗")) << quietRun.err;
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
    const char* results[] = {"delivered", "failed", "missing"};
    const char* targets[] = {"KQ Alpha", "KQ Beta", "Nope"};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& e = entries[i + 1];
        EXPECT_EQ(e["time"], now);
        EXPECT_EQ(e["target"], targets[i]);
        EXPECT_EQ(e["result"], results[i]);
        EXPECT_EQ(e["sha256"], qv::cli::Sha256Hex(Sent()));
        EXPECT_EQ(e["file"], file);
        EXPECT_EQ(e["computer"], "PC01");
        EXPECT_EQ(e["user"], "tanaka");
        EXPECT_EQ(e["route"], "spooler");
    }
    EXPECT_EQ(entries[1]["port"], "LPT1:");
    EXPECT_TRUE(Contains(entries[2]["detail"], "現在接続されていないか"));
}

TEST_F(Send, ALogThatCannotBeWrittenStopsOrFailsTheRun)
{
    std::filesystem::create_directory(dir / "logdir");
    WriteText("old.jsonl", "{\"earlier\":true}\n");
    const struct {
        const char* what;
        std::vector<std::string> args;
        int code;
        const char* error;
        std::size_t jobs;
    } cases[] = {
        {"a folder",
         {"--log", Path("logdir")},
         4,
         "ログファイルに書き込めません（フォルダーです）。何も送信していません。",
         0},
        {"in a missing folder", {"--log", Path("none/send.log")}, 4, "何も送信していません。", 0},
        {"a dry run's unusable log",
         {"--dry-run", "--log", Path("logdir")},
         4,
         "ログファイルに書き込めません",
         0},
        {"a disk that fills during the run",
         {"--log", "/dev/full"},
         4,
         "/dev/full: ログファイルへの書き込みに失敗しました。",
         2},
        {"refused arguments",
         {"--jobs", "65", "--log", Path("new.jsonl")},
         2,
         "--jobs は 1 から 64 までの数",
         0},
        {"a dry run", {"--dry-run", "--log", Path("old.jsonl")}, 0, "", 0},
    };
    for (const auto& c : cases) {
        spooler.jobs.clear();
        std::vector<std::string> args = {"send", file, "--all"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = Run(args);
        EXPECT_EQ(run.code, c.code) << c.what << "\n" << run.err;
        EXPECT_TRUE(Contains(run.err, c.error)) << c.what << "\n" << run.err;
        EXPECT_EQ(spooler.jobs.size(), c.jobs) << c.what;
    }
    EXPECT_FALSE(Exists("new.jsonl")) << "a refused command line leaves no log";
    EXPECT_EQ(LogLines("old.jsonl").size(), 1u) << "a dry run appends nothing";
    EXPECT_EQ(Run({"send", file, "--all", "--dry-run", "--log", Path("dry.jsonl")}).code, 0);
    EXPECT_FALSE(Exists("dry.jsonl")) << "a dry run leaves no log behind";
}

TEST_F(Send, ARefusedFileSendsNothingButTheLogSaysWhyForEachTarget)
{
    WriteText("not.dat", "hello");
    const ToolRun run = Run(
        {"send", Path("not.dat"), "--printer", "KQ Alpha", "--printer", "Nope", "--log", Path("log.jsonl")});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(spooler.jobs.empty());
    const auto log = LogLines("log.jsonl");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0]["result"], "refused");
    EXPECT_TRUE(Contains(log[0]["detail"], "設定ファイルではありません")) << log[0];
    EXPECT_EQ(log[0]["file"], Path("not.dat"));
    EXPECT_EQ(log[1]["result"], "missing");
}

TEST_F(Send, EachSpoolerOutcomeHasItsLineAndExitCode)
{
    const struct {
        qv::SendOutcome outcome;
        std::vector<std::string> more;
        const char* line;
        bool error;
        int code;
    } cases[] = {
        {{qv::Delivery::Delivered, "", 7, false}, {}, "KQ Alpha (LPT1:): 届きました。", false, 0},
        {{qv::Delivery::Waiting, "オフライン", 7, false},
         {},
         "KQ Alpha (LPT1:): キューで待機中（オフライン）。",
         false,
         5},
        {{qv::Delivery::Unconfirmed, "", 7, false}, {}, "KQ Alpha (LPT1:): 未確認。", false, 5},
        {{qv::Delivery::Failed, "用紙切れ。", 7, false}, {}, "KQ Alpha (LPT1:): 失敗（用紙切れ）。", true, 4},
        {{qv::Delivery::Failed, "", 0, true},
         {},
         "失敗（指定されたプリンタは、現在接続されていないか",
         true,
         4},
        {{qv::Delivery::Waiting, "", 7, false},
         {"--printer", "Nope"},
         "KQ Alpha (LPT1:): キューで待機中。",
         false,
         3},
    };
    for (const auto& c : cases) {
        spooler.printers[1].result = c.outcome;
        std::vector<std::string> args = {"send", file, "--printer", "KQ Alpha", "--wait", "3"};
        args.insert(args.end(), c.more.begin(), c.more.end());
        const ToolRun run = Run(args);
        EXPECT_EQ(run.code, c.code) << c.line;
        EXPECT_TRUE(Contains(c.error ? run.err : run.out, c.line)) << run.out << run.err;
        ASSERT_FALSE(spooler.jobs.empty());
        EXPECT_EQ(spooler.jobs.back().wait, std::chrono::seconds(3));
    }
    Run({"send", file, "--printer", "KQ Alpha", "--wait", "0"});
    EXPECT_EQ(spooler.jobs.back().wait, std::chrono::seconds(0));
    Run({"send", file, "--printer", "KQ Alpha"});
    EXPECT_EQ(spooler.jobs.back().wait, std::chrono::seconds(10));
}

// Printers on the loopback in a fixed pattern: 'd' closes after reading
// (delivered), 'u' never closes (unconfirmed), 'r' resets, 'x' has nobody
// listening (both failed).
struct HostPattern {
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    std::vector<std::string> args;  // --host for each
    std::vector<int> ports;
};

HostPattern StartHosts(const std::string& pattern)
{
    HostPattern hosts;
    for (const char kind : pattern) {
        const auto mode = kind == 'u'   ? LoopbackPeer::Mode::NeverCloses
                          : kind == 'r' ? LoopbackPeer::Mode::ResetsAtOnce
                                        : LoopbackPeer::Mode::ClosesAfterReading;
        auto peer = std::make_unique<LoopbackPeer>(mode);
        hosts.ports.push_back(peer->Port());
        hosts.args.insert(hosts.args.end(), {"--host", peer->Target()});
        if (kind == 'x')
            peer.reset();  // its port is left with nobody listening
        hosts.peers.push_back(std::move(peer));
    }
    return hosts;
}

TEST_F(Send, ManyHostsAtOnceKeepTheirOrderInTheDocumentAndTheLog)
{
    const std::string pattern = "ddrduduxduud";
    HostPattern hosts = StartHosts(pattern);
    std::vector<std::string> args = {"send",   file,    "--timeout",      "1", "--jobs", "8",
                                     "--json", "--log", Path("log.jsonl")};
    args.insert(args.end(), hosts.args.begin(), hosts.args.end());
    args.insert(args.end(), hosts.args.begin(), hosts.args.begin() + 2);  // the first again: sent once
    const auto start = std::chrono::steady_clock::now();
    const ToolRun run = Run(args);
    // One after another, the four that never close would take four seconds.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(run.code, 4) << run.err;

    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["format"], "qvx4k5-send");
    EXPECT_EQ(doc["version"], 1);
    ASSERT_EQ(doc["targets"].size(), pattern.size());
    const auto log = LogLines("log.jsonl");
    ASSERT_EQ(log.size(), pattern.size());
    std::vector<std::string> failures;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::string result = pattern[i] == 'd'   ? "delivered"
                                   : pattern[i] == 'u' ? "unconfirmed"
                                                       : "failed";
        const std::string port = std::to_string(hosts.ports[i]);
        EXPECT_EQ(doc["targets"][i]["port"], port) << i;
        EXPECT_EQ(doc["targets"][i]["result"], result) << i;
        EXPECT_EQ(doc["targets"][i]["route"], "tcp");
        EXPECT_EQ(log[i]["port"], port) << i;
        EXPECT_EQ(log[i]["result"], result) << i;
        if (result == "failed")
            failures.push_back("127.0.0.1 (" + port + "): 失敗（");
    }
    const auto& summary = doc["summary"];
    EXPECT_EQ(summary["delivered"], 6);
    EXPECT_EQ(summary["unconfirmed"], 4);
    EXPECT_EQ(summary["failed"], 2);
    EXPECT_EQ(summary["exitCode"], 4);
    const auto errors = Lines(run.err);
    ASSERT_EQ(errors.size(), failures.size()) << run.err;
    for (std::size_t i = 0; i < failures.size(); ++i)
        EXPECT_TRUE(errors[i].starts_with(failures[i])) << errors[i];
}

TEST_F(Send, HostLinesAndTheExitCodeFollowTheWorstOutcome)
{
    const struct {
        std::string pattern;
        int code;
        const char* summary;
    } cases[] = {
        {"dd", 0, "届きました 2 件、キューで待機中 0 件、未確認 0 件、失敗 0 件、送信しなかったもの 0 件。"},
        {"ud", 5, "届きました 1 件、キューで待機中 0 件、未確認 1 件、失敗 0 件、送信しなかったもの 0 件。"},
        {"xu", 4, "届きました 0 件、キューで待機中 0 件、未確認 1 件、失敗 1 件、送信しなかったもの 0 件。"},
    };
    for (const auto& c : cases) {
        HostPattern hosts = StartHosts(c.pattern);
        std::vector<std::string> args = {"send", file, "--timeout", "1"};
        args.insert(args.end(), hosts.args.begin(), hosts.args.end());
        const ToolRun run = Run(args);
        EXPECT_EQ(run.code, c.code) << c.pattern;
        std::vector<std::string> expected = {Lines(run.out).front()};
        for (std::size_t i = 0; i < c.pattern.size(); ++i)
            if (c.pattern[i] != 'x')
                expected.push_back("127.0.0.1 (" + std::to_string(hosts.ports[i]) + "): " +
                                   (c.pattern[i] == 'd'
                                        ? "届きました。"
                                        : "未確認（プリンタが時間内に接続を閉じませんでした）。"));
        expected.push_back(c.summary);
        EXPECT_EQ(Lines(run.out), expected) << c.pattern;
    }
}

TEST_F(Send, TargetListsFromFilesAndStandardInput)
{
    WriteText(
        "hosts.txt",
        "\xEF\xBB\xBF# floor 1\r\nkq-1.example\r\n\r\n  kq-2.example:9101  # door\r\n[2001:db8::5]\r\n");
    WriteText("again.txt", "KQ-1.EXAMPLE:9100\nkq-3.example\n");
    WriteText("bad.txt", "kq-1.example\nkq 2.example\n\n::1\n");
    WriteText("empty.txt", "# none yet\n\n");
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::string input;
        int code;
        std::vector<std::string> parts;  // lines in this order on standard output, or errors
    } cases[] = {
        {"a file with a byte order mark, CRLF, comments and blank lines",
         {"--hosts", Path("hosts.txt")},
         "",
         0,
         {"kq-1.example (9100): 送信します。", "kq-2.example (9101): 送信します。",
          "2001:db8::5 (9100): 送信します。"}},
        {"standard input",
         {"--hosts", "-"},
         "kq-3.example\nkq-1.example\n",
         0,
         {"kq-3.example (9100)", "kq-1.example (9100)"}},
        {"repeats are sent to once",
         {"--host", "kq-1.example", "--hosts", Path("again.txt"), "--host", "kq-3.example:9100"},
         "",
         0,
         {"kq-1.example (9100)", "kq-3.example (9100)", "送信予定 2 件"}},
        {"printers and hosts in one run",
         {"--host", "kq-1.example", "--printer", "KQ Beta", "--all"},
         "",
         0,
         {"KQ Alpha (LPT1:)", "KQ Beta (LPT2:)", "kq-1.example (9100)",
          "送信予定 3 件、送信しなかったもの 1 件"}},
        {"lines that are no host",
         {"--hosts", Path("bad.txt")},
         "",
         2,
         {"bad.txt:2: \"kq 2.example\": HOST または HOST:PORT", "bad.txt:4: \"::1\""}},
        {"an empty list", {"--hosts", Path("empty.txt")}, "", 2, {"empty.txt: ホストが 1 行もありません。"}},
        {"a missing list",
         {"--hosts", Path("none.txt")},
         "",
         2,
         {"none.txt: ホストの一覧を読み込めません（ファイルが見つかりません）"}},
        {"a bad host beside good ones",
         {"--host", "kq-1.example", "--host", "kq-2:x"},
         "",
         2,
         {"--host kq-2:x: HOST"}},
    };
    for (const auto& c : cases) {
        input = c.input;
        std::vector<std::string> args = {"send", file, "--dry-run", "--log", Path("log.jsonl")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = Run(args);
        EXPECT_EQ(run.code, c.code) << c.what << "\n" << run.err;
        const std::string& text = c.code == 0 ? run.out : run.err;
        std::size_t at = 0;
        for (const std::string& part : c.parts) {
            at = text.find(part, at);
            EXPECT_NE(at, std::string::npos) << c.what << ": " << part << "\n" << text;
        }
    }
    EXPECT_TRUE(spooler.jobs.empty());
    EXPECT_FALSE(Exists("log.jsonl"));
}

TEST_F(Send, EveryAttemptIsJournalledAndAJournalNeverFailsASend)
{
    spooler.printers[0].result = qv::SendOutcome{qv::Delivery::Failed, "用紙切れ", 4, false};  // KQ Beta
    LoopbackPeer peer(LoopbackPeer::Mode::ClosesAfterReading);
    const ToolRun run =
        Run({"send", file, "--all", "--printer", "Nope", "--host", peer.Target(), "--journal", Path("site")});
    EXPECT_EQ(run.code, 4);
    const auto read = [&](const std::string& name) {
        const auto bytes = ReadBytes(name);
        return qv::ReadJournalText(std::string(bytes.begin(), bytes.end()));
    };
    const auto records = read("journal/sends.jsonl");
    ASSERT_EQ(records.size(), 3u) << "no record for a printer that was not sent to";
    const struct {
        const char* printer;
        const char* route;
        qv::Delivery result;
        const char* reason;
    } expected[] = {{"KQ Alpha", "spooler", qv::Delivery::Delivered, ""},
                    {"KQ Beta", "spooler", qv::Delivery::Failed, "用紙切れ"},
                    {"127.0.0.1", "tcp", qv::Delivery::Delivered, ""}};
    for (std::size_t i = 0; i < 3; ++i) {
        const qv::JournalRecord& r = records[i];
        EXPECT_EQ(r.printer, expected[i].printer);
        EXPECT_EQ(r.route, expected[i].route);
        EXPECT_EQ(r.result, expected[i].result);
        EXPECT_EQ(r.reason, expected[i].reason);
        EXPECT_EQ(r.program, "qvx4k5cmd");
        EXPECT_FALSE(r.version.empty());
        EXPECT_EQ(r.file, file);
        EXPECT_EQ(r.sha256, qv::cli::Sha256Hex(Sent()));
        const auto block = qv::BlockOf(r);
        ASSERT_TRUE(block.has_value());
        EXPECT_EQ(std::vector<std::uint8_t>(block->begin(), block->end()), Sent());
    }
    EXPECT_EQ(records[1].job, 4u);
    EXPECT_EQ(records[2].host, "127.0.0.1");
    EXPECT_EQ(records[2].port, std::to_string(peer.Port()));
    EXPECT_EQ(read("site/PC01.jsonl").size(), 3u);

    Run({"send", file, "--all", "--dry-run"});
    EXPECT_EQ(read("journal/sends.jsonl").size(), 3u) << "a dry run is no attempt";
    journalWritable = false;
    const ToolRun unwritable = Run({"send", file, "--printer", "KQ Alpha"});
    EXPECT_EQ(unwritable.code, 0);
    EXPECT_TRUE(Contains(unwritable.err, "警告: 送信の記録を書き込めませんでした（書き込めません）。"))
        << unwritable.err;
}

}  // namespace
