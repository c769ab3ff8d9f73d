// What became of each target of a send, told as a line for people, a line
// of the send log, a member of the JSON document and a journal record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "SendTargets.h"
#include "SettingsJson.h"
#include "core/SendJournal.h"
#include "core/SendOutcome.h"

namespace qv::cli {

enum class Result { Delivered, Waiting, Unconfirmed, Failed, Refused, Missing, Planned };

struct TargetResult {
    Result result = Result::Failed;
    std::string reason;
    std::uint32_t job = 0;
};

TargetResult FromOutcome(const SendOutcome& outcome);
TargetResult FromVerdict(const SendTarget& target);
// The log's and the JSON document's word: "delivered", ..., "refused", "missing", "dry-run".
std::string ResultName(Result result);

// What is the same in every record of one run.
struct RunFacts {
    std::string file;  // absolute path of the settings file, or printer:NAME as given
    bool fromFile = true;
    std::string sha256;  // of the 270 bytes; empty when the file was refused
    std::string computer;
    std::string user;
};

Delivery DeliveryOf(Result result);  // Failed for results that are not deliveries
// "キューで待機中（オフライン）": a send's outcome with its reason.
std::string OutcomeText(Delivery delivery, const std::string& reason);
// "KQ Alpha (LPT1:): 届きました。"; errors (failed, not sent) go to standard error.
std::string TargetLine(const SendTarget& target, const TargetResult& result);
bool IsErrorLine(Result result);

std::string LogLine(const RunFacts& facts, const std::string& time, const SendTarget& target,
                    const TargetResult& result);
Json TargetJson(const SendTarget& target, const TargetResult& result);
JournalRecord JournalFor(const RunFacts& facts, const SettingsBlock& block, const SendTarget& target,
                         const TargetResult& result);

}  // namespace qv::cli
