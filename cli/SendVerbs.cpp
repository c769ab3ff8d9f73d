// printers and send: the printers the panel would offer, and the panel's
// send to many printers and raw TCP hosts at once.
#include <array>
#include <chrono>
#include <filesystem>

#include "Files.h"
#include "ParallelSend.h"
#include "RawTcp.h"
#include "SendLog.h"
#include "SendReport.h"
#include "SendTargets.h"
#include "TextTable.h"
#include "Utf8.h"
#include "core/SharedTexts.h"
#include "Verbs.h"
#include "core/PanelValues.h"
#include "core/Sha256.h"

namespace qv::cli {

namespace {

// Everything wrong with the options themselves, found before anything is
// opened, so a refused command line leaves no log behind.
std::vector<std::string> OptionProblems(const SendOptions& o, const ToolEnvironment& env)
{
    std::vector<std::string> problems;
    const bool printers = o.all || !o.printers.empty();
    if (!printers && o.hosts.empty() && o.hostLists.empty())
        problems.push_back(env.spooler ? "送信先を --printer、--all、--host、--hosts で指定してください。"
                                       : "送信先を --host か --hosts で指定してください。");
    if (printers && !env.spooler)
        problems.push_back("プリンタへの送信は Windows 版だけでできます。--host を使ってください。");
    const struct {
        const char* name;
        int value, low, high;
        const char* unit;
    } ranges[] = {{"--timeout", o.timeoutSeconds, 1, 600, "秒数"},
                  {"--wait", o.waitSeconds, 0, 600, "秒数"},
                  {"--jobs", o.jobs, 1, 64, "数"}};
    for (const auto& r : ranges)
        if (r.value < r.low || r.value > r.high)
            problems.push_back(std::string(r.name) + " は " + std::to_string(r.low) + " から " +
                               std::to_string(r.high) + " までの" + r.unit + "で指定してください（" +
                               std::to_string(r.value) + " は使えません）。");
    return problems;
}

std::string AbsolutePath(const std::string& name)
{
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(PathFromUtf8(name), ec);
    if (ec)
        return name;
    const std::u8string text = path.lexically_normal().u8string();
    return {text.begin(), text.end()};
}

class SendRun {
public:
    SendRun(const SendOptions& options, ToolEnvironment& env) : o_(options), env_(env) {}
    int Run();

private:
    TargetResult Decide(const SendTarget& t) const;
    // A target's line, log line, JSON member and journal record.
    void Report(const SendTarget& t, const TargetResult& r);
    void Log(const SendTarget& t, const TargetResult& r);
    void Journal(const SendTarget& t, const TargetResult& r);
    void Summarise(int code);
    int ExitCode() const;
    int Count(Result r) const { return counts_[static_cast<std::size_t>(r)]; }
    bool Talks() const { return !env_.quiet && !o_.json; }

    const SendOptions& o_;
    ToolEnvironment& env_;
    SettingsBlock block_{};
    RunFacts facts_;
    SendLog log_;
    bool logFailed_ = false;
    std::optional<SendJournal> journal_;
    bool journalWarned_ = false;
    std::array<int, 7> counts_{};
    bool refusedNamed_ = false;
    Json targets_ = Json::array();
};

int SendRun::Run()
{
    std::vector<std::string> problems = OptionProblems(o_, env_);
    const std::vector<TcpTarget> hosts = ReadHosts(o_, env_, problems);
    for (const std::string& problem : problems)
        Complain(env_, problem);
    if (!problems.empty())
        return kExitBadInput;
    if (!o_.log.empty())
        if (const auto problem = log_.Open(o_.log, o_.dryRun)) {
            Complain(env_,
                     o_.log + ": ログファイルに書き込めません（" + *problem + "）。何も送信していません。");
            return kExitSendFailed;
        }
    // A block from the journal (printer:NAME) has no file of its own.
    facts_.fromFile = !JournalPrinterName(o_.file);
    facts_.file = facts_.fromFile ? AbsolutePath(o_.file) : o_.file;
    if (env_.journal) {
        journal_.emplace(
            env_.journal(o_.journal.empty() ? std::nullopt : std::optional(PathFromUtf8(o_.journal))));
        const JournalSteps& steps = journal_->Steps();
        facts_.computer = steps.computer ? steps.computer() : "";
        facts_.user = steps.user ? steps.user() : "";
    }

    const SettingsInput input = ReadSettingsInput(o_.file, env_);
    TargetList list = BuildTargets(o_, hosts, env_);
    if (input.problem) {
        // Nothing is sent; the log still tells every target why.
        const std::string reason = "設定ファイルではありません（" + *input.problem + "）";
        Complain(env_, o_.file + ": " + reason + "。");
        for (SendTarget& t : list.targets)
            Log(t, t.verdict ? FromVerdict(t) : TargetResult{Result::Refused, reason, 0});
        return kExitBadInput;
    }
    if (list.noPrinterForAll)
        Complain(env_, std::string(text::kNoEligiblePrinter));
    if (list.targets.empty())
        return kExitNoPrinter;

    block_ = LoadAsPanel(input.block).block;
    facts_.sha256 = Sha256Hex(block_);
    if (Talks())
        env_.out << o_.file << " を読み込んだ " << block_.size() << " バイト（SHA-256 " << facts_.sha256
                 << "）を"
                 << (o_.dryRun ? "送信する予定です（--dry-run: 送信しません）。\n" : "送信します。\n");

    std::vector<TargetResult> results(list.targets.size());
    RunInOrder(
        list.targets.size(), o_.jobs, [&](std::size_t i) { results[i] = Decide(list.targets[i]); },
        [&](std::size_t i) { Report(list.targets[i], results[i]); });
    if (list.noPrinterForAll)
        refusedNamed_ = true;
    const int code = ExitCode();
    Summarise(code);
    return code;
}

TargetResult SendRun::Decide(const SendTarget& t) const
{
    if (t.verdict)
        return FromVerdict(t);
    if (o_.dryRun)
        return {Result::Planned, "", 0};
    if (t.tcp)
        return FromOutcome(SendRawTcp(*t.tcp, block_, std::chrono::seconds(o_.timeoutSeconds)));
    return FromOutcome(env_.spooler->SendRawJob(FromUtf8(t.name), kJobName, block_, env_.ntFamily,
                                                std::chrono::seconds(o_.waitSeconds)));
}

void SendRun::Report(const SendTarget& t, const TargetResult& r)
{
    ++counts_[static_cast<std::size_t>(r.result)];
    if ((r.result == Result::Refused || r.result == Result::Missing) && t.counts)
        refusedNamed_ = true;
    if (IsErrorLine(r.result))
        env_.err << TargetLine(t, r) << '\n';
    else if (Talks())
        env_.out << TargetLine(t, r) << '\n';
    if (o_.json)
        targets_.push_back(TargetJson(t, r));
    Log(t, r);
    Journal(t, r);
}

void SendRun::Log(const SendTarget& t, const TargetResult& r)
{
    if (!log_.IsOpen() || logFailed_)
        return;
    if (!log_.Append(LogLine(
            facts_, env_.utcNow ? env_.utcNow() : UtcTimestamp(std::chrono::system_clock::now()), t, r))) {
        logFailed_ = true;
        Complain(env_, o_.log + ": ログファイルへの書き込みに失敗しました。");
    }
}

void SendRun::Journal(const SendTarget& t, const TargetResult& r)
{
    if (!journal_ || o_.dryRun || r.result == Result::Refused || r.result == Result::Missing)
        return;
    std::string problem;
    if (!journal_->Append(JournalFor(facts_, block_, t, r), problem) && !journalWarned_) {
        journalWarned_ = true;
        Complain(env_, "警告: 送信履歴に書き込めませんでした（" + problem + "）。送信には影響しません。");
    }
}

int SendRun::ExitCode() const
{
    if (Count(Result::Failed) || logFailed_)
        return kExitSendFailed;
    if (refusedNamed_)
        return kExitNoPrinter;
    if (Count(Result::Waiting) || Count(Result::Unconfirmed))
        return kExitNotConfirmed;
    return kExitDone;
}

void SendRun::Summarise(int code)
{
    const int skipped = Count(Result::Refused) + Count(Result::Missing);
    if (o_.json) {
        Json summary = Json::object();
        for (std::size_t r = 0; r < counts_.size(); ++r)
            summary[ResultName(static_cast<Result>(r))] = counts_[r];
        summary["exitCode"] = code;
        WriteJson(env_, Json{{"format", "qvx4k5-send"},
                             {"version", 1},
                             {"file", facts_.file},
                             {"sha256", facts_.sha256},
                             {"dryRun", o_.dryRun},
                             {"targets", targets_},
                             {"summary", summary}});
    } else if (Talks() && o_.dryRun) {
        env_.out << "送信予定 " << Count(Result::Planned) << " 件、送信しなかったもの " << skipped
                 << " 件。\n";
    } else if (Talks()) {
        for (const auto result : {Result::Delivered, Result::Waiting, Result::Unconfirmed, Result::Failed})
            env_.out << DeliveryText(DeliveryOf(result)) << " " << Count(result) << " 件、";
        env_.out << "送信しなかったもの " << skipped << " 件。\n";
    }
}

}  // namespace

int Printers(const PrintersOptions& o, ToolEnvironment& env)
{
    if (!env.spooler) {
        Complain(env, "プリンタの一覧は Windows 版だけで表示できます。");
        return kExitBadInput;
    }
    const std::vector<ListedPrinter> list = ListInDialogOrder(env);
    const std::string refusal = std::string(kFileRefusal) + "。";
    if (o.json) {
        Json printers = Json::array();
        for (const ListedPrinter& p : list)
            printers.push_back({{"name", ToUtf8(p.name)},
                                {"port", ToUtf8(p.port)},
                                {"server", p.server ? Json(ToUtf8(*p.server)) : Json(nullptr)},
                                {"sendable", !IsFilePrinter(p)},
                                {"refusal", IsFilePrinter(p) ? Json(refusal) : Json(nullptr)}});
        WriteJson(env, Json{{"printers", printers}});
        return kExitDone;
    }
    if (list.empty()) {
        env.out << text::kNoEligiblePrinter << "\n";
        return kExitDone;
    }
    std::vector<std::vector<std::string>> rows{{"プリンタ名", "ポート", "サーバー", ""}};
    for (const ListedPrinter& p : list)
        rows.push_back({ToUtf8(p.name), ToUtf8(p.port), p.server ? ToUtf8(*p.server) : "",
                        IsFilePrinter(p) ? "送信できません: " + refusal : ""});
    WriteTable(env.out, rows);
    return kExitDone;
}

int Send(const SendOptions& options, ToolEnvironment& env) { return SendRun(options, env).Run(); }

}  // namespace qv::cli
