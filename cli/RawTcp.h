// Raw TCP printing ("port 9100"): connect to a network printer, write the
// bytes, end the connection in order, each step within a time limit.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv::cli {

inline constexpr std::string_view kRawTcpPort = "9100";

struct TcpTarget {
    std::string host;
    std::string port;
};

// "host", "host:port", "[v6 address]" or "[v6 address]:port"; the port
// defaults to 9100. Nothing for a text that is neither.
std::optional<TcpTarget> ParseTcpTarget(std::string_view text);

struct TcpResult {
    bool sent = false;
    std::string problem;  // why not, for messages
};

// Sent only when every byte was written and the connection ended without a
// reset. `limit` applies to the connect and again to the writing.
TcpResult SendRawTcp(const TcpTarget& target, std::span<const std::uint8_t> data,
                     std::chrono::milliseconds limit);

}  // namespace qv::cli
