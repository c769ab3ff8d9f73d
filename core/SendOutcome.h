// How a send ended, as the panel, the tool and the journal tell it. The
// printer cannot be read back, so this is all anyone knows of a send.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "SharedTexts.h"

namespace qv {

enum class Delivery {
    Delivered,    // the job left the queue without an error, or the printer closed the connection in order
    Waiting,      // the spooler still holds the job (paused, off line, ... or simply not done yet)
    Unconfirmed,  // every byte was written, but the printer never said it had read them
    Failed,       // nothing, or not everything, reached the spooler or the printer
};

struct SendOutcome {
    Delivery delivery = Delivery::Failed;
    // Why it waits or failed, in Japanese for messages ("オフライン"); empty
    // when there is nothing to say.
    std::string reason;
    // The spooler's job id; 0 when no job was started.
    std::uint32_t job = 0;
    // Failed because the printer could not be opened or needs the operator
    // (the panel's "not connected or no right to print" case).
    bool unavailable = false;
};

// "delivered", "waiting", "unconfirmed", "failed": the journal's and the
// log's word for an outcome.
constexpr std::string_view DeliveryName(Delivery delivery)
{
    switch (delivery) {
    case Delivery::Delivered: return "delivered";
    case Delivery::Waiting: return "waiting";
    case Delivery::Unconfirmed: return "unconfirmed";
    case Delivery::Failed: return "failed";
    }
    return "failed";
}

// "届きました", "キューで待機中", "未確認", "失敗": the words people read.
constexpr std::string_view DeliveryText(Delivery delivery)
{
    switch (delivery) {
    case Delivery::Delivered: return QV_TEXT_RESULT_DELIVERED;
    case Delivery::Waiting: return QV_TEXT_RESULT_WAITING;
    case Delivery::Unconfirmed: return QV_TEXT_RESULT_UNCONFIRMED;
    case Delivery::Failed: return QV_TEXT_RESULT_FAILED;
    }
    return QV_TEXT_RESULT_FAILED;
}

}  // namespace qv
