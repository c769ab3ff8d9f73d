// UTF-8 and the platform's wide strings (UTF-16 on Windows, UTF-32
// elsewhere), for the spooler's printer names, display widths and texts
// quoted from input in messages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::cli {

// Invalid sequences become U+FFFD.
std::wstring FromUtf8(std::string_view text);
std::string ToUtf8(std::wstring_view text);

// Columns the text takes in a console with a Japanese font: two for wide
// and full-width characters, one for the rest.
std::size_t DisplayWidth(std::string_view text);

// Length of the longest prefix that is valid UTF-8 (the whole text when it
// all is).
std::size_t ValidUtf8Length(std::string_view text);

// Text from the input, fit to stand in a message: control characters as
// \uXXXX (a terminal never sees an escape sequence or a NUL), bytes that are
// no UTF-8 as \xNN, and at most about `maxBytes` bytes, cut between
// characters and marked with "...".
std::string MessageText(std::string_view text, std::size_t maxBytes = 60);

}  // namespace qv::cli
