// Reading and writing whole files for the build's generators.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qv::help {

// The bytes of the file; none when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes `text` beside `path` and renames it into place, so that a failed
// run leaves no half file. Empty on success, else what went wrong.
std::string WriteReplacing(const std::filesystem::path& path, std::string_view text);

}  // namespace qv::help
