// SHA-256 of a byte string, for the send log and the journal: it names the
// exact bytes a printer received without a cryptography library in the
// static build.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace qv {

std::array<std::uint8_t, 32> Sha256(std::span<const std::uint8_t> data);
// Lower-case hexadecimal, 64 characters.
std::string Sha256Hex(std::span<const std::uint8_t> data);

}  // namespace qv
