// Raw TCP printing ("port 9100"): look the printer up, connect, write the
// bytes, end the connection in order, each step within a time limit.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/SendOutcome.h"

namespace qv::cli {

inline constexpr std::string_view kRawTcpPort = "9100";

struct TcpTarget {
    std::string host;
    std::string port;
};

// "host", "host:port", "[v6 address]" or "[v6 address]:port"; the port
// defaults to 9100. Nothing for a text that is neither.
std::optional<TcpTarget> ParseTcpTarget(std::string_view text);

// The addresses of a name as socket address bytes (the family is part of
// them), or why there are none.
struct TcpLookup {
    std::vector<std::vector<std::uint8_t>> addresses;
    std::string problem;
};
using TcpResolver = std::function<TcpLookup(const TcpTarget&)>;
// The system's resolver; it may take as long as the name servers do.
TcpLookup SystemLookup(const TcpTarget& target);

// Delivered only when every byte was written, our side was shut down and
// the printer then closed its side in order. The name lookup and the
// connect share `limit` (each address of the name gets its share of what is
// left); writing and the printer's close have `limit` again. A printer that
// closes or resets before that has failed; one that keeps the connection
// open past the limit leaves the send unconfirmed.
SendOutcome SendRawTcp(const TcpTarget& target, std::span<const std::uint8_t> data,
                       std::chrono::milliseconds limit, const TcpResolver& resolve = SystemLookup);

}  // namespace qv::cli
