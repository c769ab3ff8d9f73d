// Plain-text tables for the console: columns aligned by display width, so
// Japanese labels line up in cmd.exe, PowerShell and terminals alike.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qv::cli {

// A row of one cell is a heading and printed as it is; the other rows are
// aligned in columns, two spaces apart, each after `indent`. The last
// column is not padded.
void WriteTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                const std::string& indent = "");

}  // namespace qv::cli
