// "Did you mean": the known word nearest to a mistyped one, for unknown
// commands, options and settings keys.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace qv::cli {

// The candidate at most three edits away (letter case aside), the nearest
// first in list order. Nothing for words over 64 bytes: none is near, and
// comparing them would take long.
std::optional<std::string_view> NearestWord(std::string_view word,
                                            const std::vector<std::string_view>& candidates);

}  // namespace qv::cli
