#include "SendTargets.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "Files.h"
#include "TextInput.h"
#include "Utf8.h"
#include "core/SharedTexts.h"

namespace qv::cli {

namespace {
// The panel's sentence without its full stop, to stand inside brackets.
std::string Reason(std::string_view sentence)
{
    return std::string(sentence.substr(0, sentence.rfind("。")));
}
}  // namespace

const std::string kFileRefusal = Reason(text::kPortIsFile);
const std::string kUnavailable = Reason(text::kPrinterUnavailable);

namespace {

constexpr std::size_t kHostListLimit = 16u << 20;
const char kHostForms[] = "HOST または HOST:PORT（IPv6 は [アドレス]:PORT）で指定してください。";

SendTarget At(std::string name, std::string port)
{
    SendTarget t;
    t.name = std::move(name);
    t.port = std::move(port);
    return t;
}

SendTarget FromPrinter(const ListedPrinter& p)
{
    SendTarget t = At(ToUtf8(p.name), ToUtf8(p.port));
    if (p.server)
        t.server = ToUtf8(*p.server);
    if (IsFilePrinter(p)) {
        t.verdict = Verdict::Refused;
        t.reason = kFileRefusal;
    }
    return t;
}

SendTarget FromName(ToolEnvironment& env, const std::vector<ListedPrinter>& eligible, const std::string& name)
{
    const NamedPrinter found = CheckNamedPrinter(*env.spooler, eligible, FromUtf8(name));
    SendTarget t = FromPrinter(found.printer);
    t.name = name;
    switch (found.verdict) {
    case PrinterVerdict::Eligible: break;
    case PrinterVerdict::Missing:
        t.verdict = Verdict::Missing;
        t.reason = "プリンタが見つかりません";
        break;
    case PrinterVerdict::OtherDriver:
        t.verdict = Verdict::Refused;
        t.reason = "ドライバが \"" + ToUtf8(found.driver) + "\" です（\"" + ToUtf8(kPrinterDriver) +
                   "\" のプリンタにだけ送信します）";
        break;
    case PrinterVerdict::CannotOpen:
        t.verdict = Verdict::Refused;
        t.reason = kUnavailable;
        break;
    }
    return t;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// Printer and host names compare as Windows compares them: ASCII letters in either case.
std::string Identity(const SendTarget& t)
{
    return t.tcp ? "tcp " + Lower(t.tcp->host) + " " + t.tcp->port : "spooler " + Lower(t.name);
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::vector<ListedPrinter> ListInDialogOrder(ToolEnvironment& env)
{
    std::vector<ListedPrinter> list = FindEligiblePrinters(*env.spooler, env.ntFamily);
    std::stable_sort(list.begin(), list.end(), [&](const ListedPrinter& a, const ListedPrinter& b) {
        return env.listOrder(a.name, b.name);
    });
    return list;
}

std::vector<TcpTarget> ParseHostList(std::string_view text, const std::string& name,
                                     std::vector<std::string>& problems)
{
    std::vector<TcpTarget> hosts;
    std::size_t number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        line = Trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        if (const auto host = ParseTcpTarget(line))
            hosts.push_back(*host);
        else
            problems.push_back(name + ":" + std::to_string(number) + ": \"" + std::string(line) +
                               "\": " + kHostForms);
    }
    return hosts;
}

std::vector<TcpTarget> ReadHosts(const SendOptions& o, ToolEnvironment& env,
                                 std::vector<std::string>& problems)
{
    std::vector<TcpTarget> hosts;
    for (const std::string& text : o.hosts) {
        if (const auto host = ParseTcpTarget(text))
            hosts.push_back(*host);
        else
            problems.push_back("--host " + text + ": " + kHostForms);
    }
    for (const std::string& name : o.hostLists) {
        // "-" is standard input, once in a run (the settings file may be it too).
        const FileBytes bytes = ReadInput(name, kHostListLimit, env);
        std::string problem =
            bytes.problem.value_or(bytes.size > kHostListLimit ? "16 MiB より大きな一覧は読みません。" : "");
        // UTF-8 with or without its mark, or UTF-16 as PowerShell 5.1 writes it.
        const auto text =
            problem.empty()
                ? DecodeTextInput({reinterpret_cast<const char*>(bytes.bytes.data()), bytes.bytes.size()},
                                  problem)
                : std::nullopt;
        if (!text) {
            problems.push_back(InputName(name) + ": ホストの一覧を読み込めません。" + problem);
            continue;
        }
        const std::size_t before = problems.size();
        const auto listed = ParseHostList(*text, name, problems);
        if (listed.empty() && problems.size() == before)
            problems.push_back(name + ": ホストが 1 行もありません。");
        hosts.insert(hosts.end(), listed.begin(), listed.end());
    }
    return hosts;
}

TargetList BuildTargets(const SendOptions& o, const std::vector<TcpTarget>& hosts, ToolEnvironment& env)
{
    TargetList list;
    std::vector<SendTarget> all;
    if (env.spooler && (o.all || !o.printers.empty())) {
        const std::vector<ListedPrinter> eligible = ListInDialogOrder(env);
        if (o.all) {
            for (const ListedPrinter& p : eligible)
                all.push_back(FromPrinter(p));
            // FILE printers among others are skipped; with nothing else there is no printer to send to.
            const bool anySendable =
                std::any_of(all.begin(), all.end(), [](const SendTarget& t) { return !t.verdict; });
            for (SendTarget& t : all)
                t.counts = !anySendable;
            list.noPrinterForAll = all.empty();
        }
        for (const std::string& name : o.printers)
            all.push_back(FromName(env, eligible, name));
    }
    for (const TcpTarget& host : hosts) {
        SendTarget t = At(host.host, host.port);
        t.tcp = host;
        all.push_back(std::move(t));
    }
    std::set<std::string> seen;
    for (SendTarget& t : all)
        if (seen.insert(Identity(t)).second)
            list.targets.push_back(std::move(t));
    return list;
}

}  // namespace qv::cli
