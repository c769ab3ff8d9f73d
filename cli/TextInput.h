// Text files a user hands the tool (JSON, lists of hosts): UTF-8 with or
// without a byte order mark, and UTF-16 with one, which is what Windows
// PowerShell 5.1 writes with `>` and Out-File. Anything else is refused
// with a message that says how to save the file as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::cli {

// The text as UTF-8 without a byte order mark, or nothing and why in
// `problem` (Japanese, one or more sentences).
std::optional<std::string> DecodeTextInput(std::string_view bytes, std::string& problem);

}  // namespace qv::cli
