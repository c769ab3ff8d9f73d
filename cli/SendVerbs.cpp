// printers and send: the printers the panel would offer, and the panel's
// send to many printers at once, to a print server's queues, or straight to
// a network printer's raw TCP port.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "Files.h"
#include "RawTcp.h"
#include "core/Sha256.h"
#include "SettingsJson.h"
#include "TextTable.h"
#include "Utf8.h"
#include "Verbs.h"
#include "core/PanelValues.h"
#include "core/PrinterDiscovery.h"

namespace qv::cli {

namespace {

const std::string kFileRefusal = "接続先がFILEのため設定値を送信できません。";
const std::string kUnavailable =
    "指定されたプリンタは、現在接続されていないか、プリンタ使用権の制限により使用できません。";

enum class Outcome { Sent, Failed, Refused, Missing, DryRun };

struct Target {
    std::string name;  // printer name, or the host
    std::string port;  // printer port, or the TCP port
    std::optional<TcpTarget> tcp;
    std::optional<Outcome> verdict;  // Refused or Missing: decided before sending
    std::string reason;
    bool counts = true;  // a refusal that sets the exit code (not --all's FILE printers)
};

std::vector<ListedPrinter> ListInDialogOrder(ToolEnvironment& env)
{
    std::vector<ListedPrinter> list = FindEligiblePrinters(*env.spooler, env.ntFamily);
    std::stable_sort(list.begin(), list.end(), [&](const ListedPrinter& a, const ListedPrinter& b) {
        return env.listOrder(a.name, b.name);
    });
    return list;
}

Target FromPrinter(const ListedPrinter& p)
{
    Target t{ToUtf8(p.name), ToUtf8(p.port), std::nullopt, std::nullopt, "", true};
    if (IsFilePrinter(p)) {
        t.verdict = Outcome::Refused;
        t.reason = kFileRefusal;
    }
    return t;
}

Target FromName(ToolEnvironment& env, const std::vector<ListedPrinter>& eligible, const std::string& name)
{
    const NamedPrinter found = CheckNamedPrinter(*env.spooler, eligible, FromUtf8(name));
    Target t = FromPrinter(found.printer);
    t.name = name;
    switch (found.verdict) {
    case PrinterVerdict::Eligible: break;
    case PrinterVerdict::Missing:
        t.verdict = Outcome::Missing;
        t.reason = "プリンタが見つかりません。";
        break;
    case PrinterVerdict::OtherDriver:
        t.verdict = Outcome::Refused;
        t.reason = "ドライバが \"" + ToUtf8(found.driver) + "\" です（\"" + ToUtf8(kPrinterDriver) +
                   "\" のプリンタにだけ送信します）。";
        break;
    case PrinterVerdict::CannotOpen:
        t.verdict = Outcome::Refused;
        t.reason = kUnavailable;
        break;
    }
    return t;
}

// The targets, or a message and nothing when the command line names none.
std::optional<std::vector<Target>> Targets(const SendOptions& o, ToolEnvironment& env)
{
    if (!o.host.empty()) {
        const auto tcp = ParseTcpTarget(o.host);
        if (!tcp) {
            Complain(env, "--host " + o.host +
                              ": HOST または HOST:PORT（IPv6 は [アドレス]:PORT）で指定してください。");
            return std::nullopt;
        }
        return std::vector<Target>{{tcp->host, tcp->port, tcp, std::nullopt, "", true}};
    }
    if (!env.spooler) {
        Complain(env, "プリンタへの送信は Windows 版だけでできます。--host を使ってください。");
        return std::nullopt;
    }
    const std::vector<ListedPrinter> eligible = ListInDialogOrder(env);
    std::vector<Target> targets;
    if (o.all) {
        for (const ListedPrinter& p : eligible)
            targets.push_back(FromPrinter(p));
        // FILE printers among others are skipped; with nothing else there is no printer to send to.
        const bool anySendable =
            std::any_of(targets.begin(), targets.end(), [](const Target& t) { return !t.verdict; });
        for (Target& t : targets)
            t.counts = !anySendable;
    }
    for (const std::string& name : o.printers)
        targets.push_back(FromName(env, eligible, name));
    return targets;
}

const char* ResultName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Sent: return "sent";
    case Outcome::Failed: return "failed";
    case Outcome::Refused: return "refused";
    case Outcome::Missing: return "missing";
    case Outcome::DryRun: return "dry-run";
    }
    return "";
}

// "2024-05-01T09:30:00Z"
std::string UtcNow()
{
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string LogLine(const SendOptions& o, ToolEnvironment& env, const Target& t, const std::string& sha,
                    Outcome outcome)
{
    Json line{{"time", env.utcNow ? env.utcNow() : UtcNow()},
              {"file", o.file},
              {"target", t.name},
              {"port", t.port},
              {"sha256", sha},
              {"result", ResultName(outcome)}};
    if (!t.reason.empty())
        line["detail"] = t.reason;
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Outcome Deliver(const SendOptions& o, ToolEnvironment& env, Target& t, std::span<const std::uint8_t> bytes)
{
    if (t.tcp) {
        const TcpResult r = SendRawTcp(*t.tcp, bytes, std::chrono::seconds(o.timeoutSeconds));
        t.reason = r.sent ? "" : r.problem + "。";
        return r.sent ? Outcome::Sent : Outcome::Failed;
    }
    const SendOutcome outcome =
        env.spooler->SendRawJob(FromUtf8(t.name), kJobName, bytes, env.ntFamily, std::chrono::seconds(10));
    if (outcome.delivery != Delivery::Failed)
        return Outcome::Sent;
    t.reason = outcome.unavailable ? kUnavailable : outcome.reason + "。";
    return Outcome::Failed;
}

std::string Where(const Target& t) { return t.port.empty() ? t.name : t.name + " (" + t.port + ")"; }

}  // namespace

int Printers(const PrintersOptions& o, ToolEnvironment& env)
{
    if (!env.spooler) {
        Complain(env, "プリンタの一覧は Windows 版だけで表示できます。");
        return kExitBadInput;
    }
    const std::vector<ListedPrinter> list = ListInDialogOrder(env);
    if (o.json) {
        Json printers = Json::array();
        for (const ListedPrinter& p : list)
            printers.push_back({{"name", ToUtf8(p.name)},
                                {"port", ToUtf8(p.port)},
                                {"server", p.server ? Json(ToUtf8(*p.server)) : Json(nullptr)},
                                {"sendable", !IsFilePrinter(p)},
                                {"refusal", IsFilePrinter(p) ? Json(kFileRefusal) : Json(nullptr)}});
        WriteJson(env, Json{{"printers", printers}});
        return kExitDone;
    }
    if (list.empty()) {
        env.out << "使用可能なプリンタがありませんでした。\n";
        return kExitDone;
    }
    std::vector<std::vector<std::string>> rows{{"プリンタ名", "ポート", "サーバー", ""}};
    for (const ListedPrinter& p : list)
        rows.push_back({ToUtf8(p.name), ToUtf8(p.port), p.server ? ToUtf8(*p.server) : "",
                        IsFilePrinter(p) ? "送信できません: " + kFileRefusal : ""});
    WriteTable(env.out, rows);
    return kExitDone;
}

int Send(const SendOptions& o, ToolEnvironment& env)
{
    const int kinds = (o.printers.empty() ? 0 : 1) + (o.all ? 1 : 0) + (o.host.empty() ? 0 : 1);
    if (kinds != 1) {
        Complain(env, env.spooler ? "送信先は --printer、--all、--host のどれか一つで指定してください。"
                                  : "送信先を --host で指定してください。");
        return kExitBadInput;
    }
    if (o.timeoutSeconds < 1 || o.timeoutSeconds > 600) {
        Complain(env, "--timeout は 1 から 600 までの秒数で指定してください。");
        return kExitBadInput;
    }
    const auto stored = LoadSettingsInput(o.file, env);
    if (!stored)
        return kExitBadInput;
    const SettingsBlock block = LoadAsPanel(*stored).block;
    const std::string sha = Sha256Hex(block);

    std::ofstream log;
    if (!o.log.empty() && !o.dryRun) {
        log.open(PathFromUtf8(o.log), std::ios::binary | std::ios::app);
        if (!log) {
            Complain(env, o.log + ": ログファイルに書き込めません。何も送信していません。");
            return kExitBadInput;
        }
    }
    auto targets = Targets(o, env);
    if (!targets)
        return kExitBadInput;
    if (targets->empty()) {
        Complain(env, "使用可能なプリンタがありませんでした。");
        return kExitNoPrinter;
    }

    env.out << o.file << " を読み込んだ " << block.size() << " バイト（SHA-256 " << sha << "）を"
            << (o.dryRun ? "送信する予定です（--dry-run: 送信しません）。\n" : "送信します。\n");
    int sent = 0, failed = 0, skipped = 0;
    bool refusedNamed = false;
    for (Target& t : *targets) {
        Outcome outcome = t.verdict ? *t.verdict : o.dryRun ? Outcome::DryRun : Deliver(o, env, t, block);
        switch (outcome) {
        case Outcome::Sent:
            ++sent;
            env.out << Where(t) << ": 送信しました。\n";
            break;
        case Outcome::DryRun:
            ++sent;
            env.out << Where(t) << ": 送信します。\n";
            break;
        case Outcome::Failed:
            ++failed;
            env.err << Where(t) << ": 送信できませんでした: " << t.reason << '\n';
            break;
        case Outcome::Refused:
        case Outcome::Missing:
            ++skipped;
            refusedNamed = refusedNamed || t.counts;
            env.err << Where(t) << ": 送信しません: " << t.reason << '\n';
            break;
        }
        if (log.is_open()) {
            log << LogLine(o, env, t, sha, outcome) << '\n';
            log.flush();
        }
    }
    env.out << (o.dryRun ? "送信予定 " : "送信 ") << sent << " 件、失敗 " << failed
            << " 件、送信しなかったもの " << skipped << " 件。\n";
    if (log.is_open() && !log)
        Complain(env, o.log + ": ログファイルへの書き込みに失敗しました。");
    return failed ? kExitSendFailed : refusedNamed ? kExitNoPrinter : kExitDone;
}

}  // namespace qv::cli
