#include "SendReport.h"

namespace qv::cli {

namespace {

// Reasons come with or without a final "。"; lines put it themselves.
std::string Bare(std::string reason)
{
    const std::string stop = "。";
    if (reason.ends_with(stop))
        reason.resize(reason.size() - stop.size());
    return reason;
}

std::string InParentheses(const std::string& reason)
{
    return reason.empty() ? "" : "（" + Bare(reason) + "）";
}

std::string Where(const SendTarget& t) { return t.port.empty() ? t.name : t.name + " (" + t.port + ")"; }

}  // namespace

Delivery DeliveryOf(Result result)
{
    switch (result) {
    case Result::Delivered: return Delivery::Delivered;
    case Result::Waiting: return Delivery::Waiting;
    case Result::Unconfirmed: return Delivery::Unconfirmed;
    default: return Delivery::Failed;
    }
}

TargetResult FromOutcome(const SendOutcome& outcome)
{
    static constexpr Result kResults[] = {Result::Delivered, Result::Waiting, Result::Unconfirmed,
                                          Result::Failed};
    TargetResult r{kResults[static_cast<int>(outcome.delivery)], Bare(outcome.reason), outcome.job};
    if (outcome.delivery == Delivery::Failed && outcome.unavailable)
        r.reason = kUnavailable;
    return r;
}

TargetResult FromVerdict(const SendTarget& target)
{
    return {target.verdict == Verdict::Missing ? Result::Missing : Result::Refused, target.reason, 0};
}

std::string ResultName(Result result)
{
    switch (result) {
    case Result::Refused: return "refused";
    case Result::Missing: return "missing";
    case Result::Planned: return "dry-run";
    default: return std::string(DeliveryName(DeliveryOf(result)));
    }
}

bool IsErrorLine(Result result)
{
    return result == Result::Failed || result == Result::Refused || result == Result::Missing;
}

std::string OutcomeText(Delivery delivery, const std::string& reason)
{
    return std::string(DeliveryText(delivery)) + InParentheses(reason);
}

std::string TargetLine(const SendTarget& target, const TargetResult& r)
{
    const std::string where = Where(target) + ": ";
    switch (r.result) {
    case Result::Delivered:
    case Result::Waiting:
    case Result::Unconfirmed:
    case Result::Failed: return where + OutcomeText(DeliveryOf(r.result), r.reason) + "。";
    case Result::Refused:
    case Result::Missing: return where + "送信しません: " + Bare(r.reason) + "。";
    case Result::Planned: return where + "送信します。";
    }
    return where;
}

std::string LogLine(const RunFacts& facts, const std::string& time, const SendTarget& target,
                    const TargetResult& r)
{
    Json line{{"time", time},       {"computer", facts.computer}, {"user", facts.user},
              {"file", facts.file}, {"target", target.name},      {"route", target.tcp ? "tcp" : "spooler"},
              {"port", target.port}};
    if (target.server)
        line["server"] = *target.server;
    if (!facts.sha256.empty())
        line["sha256"] = facts.sha256;
    line["result"] = ResultName(r.result);
    if (r.job)
        line["job"] = r.job;
    if (!r.reason.empty())
        line["detail"] = Bare(r.reason);
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json TargetJson(const SendTarget& target, const TargetResult& r)
{
    return {{"target", target.name},
            {"route", target.tcp ? "tcp" : "spooler"},
            {"port", target.port},
            {"server", target.server ? Json(*target.server) : Json(nullptr)},
            {"result", ResultName(r.result)},
            {"reason", Bare(r.reason)},
            {"job", r.job ? Json(r.job) : Json(nullptr)}};
}

JournalRecord JournalFor(const RunFacts& facts, const SettingsBlock& block, const SendTarget& target,
                         const TargetResult& r)
{
    JournalRecord record;
    record.program = "qvx4k5cmd";
    record.version = QV_PROGRAM_VERSION;
    record.printer = target.name;
    record.server = target.server;
    record.port = target.port;
    if (target.tcp)
        record.host = target.tcp->host;
    record.route = target.tcp ? "tcp" : "spooler";
    record.result = DeliveryOf(r.result);
    record.reason = Bare(r.reason);
    record.job = r.job;
    record.sha256 = facts.sha256;
    record.block = BlockHex(block);
    if (facts.fromFile)
        record.file = facts.file;
    return record;
}

}  // namespace qv::cli
