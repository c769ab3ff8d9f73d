// Fixed-width decimal fields and signed texts, shared by the settings block
// and the form records, which hold the same kinds of fields.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

namespace qv {

// `count` characters from `at`, each counted as its code minus '0': nothing
// is checked, range checks catch the result.
template <class Bytes> int ReadDigits(const Bytes& bytes, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value * 10 + (static_cast<int>(bytes[at + i]) - '0');
    return value;
}

// Two digits of |value| modulo 100: any stray value stays a pair of digits
// instead of arbitrary bytes.
template <class Bytes> void WriteTwoDigits(Bytes& bytes, std::size_t at, int value)
{
    using Byte = std::remove_reference_t<decltype(bytes[at])>;
    const unsigned v = static_cast<unsigned>(std::abs(value));
    bytes[at] = static_cast<Byte>('0' + (v / 10) % 10);
    bytes[at + 1] = static_cast<Byte>('0' + v % 10);
}

// The first three characters of "%03d": a value outside 0-999 keeps its
// sign or loses its last digits, as the printer's own tools write it.
template <class Bytes> void WriteThreeDigits(Bytes& bytes, std::size_t at, int value)
{
    using Byte = std::remove_reference_t<decltype(bytes[at])>;
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    for (std::size_t i = 0; i < 3; ++i)
        bytes[at + i] = static_cast<Byte>(text[i]);
}

// "0", or the value with its sign ("+1", "-6").
std::string SignedText(int value);

}  // namespace qv
