// UTF-8 and the platform's wide strings (UTF-16 on Windows, UTF-32
// elsewhere), for the spooler's printer names and for display widths.
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

}  // namespace qv::cli
