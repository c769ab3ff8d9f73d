#include "TextTable.h"

#include <algorithm>

#include "Utf8.h"

namespace qv::cli {

void WriteTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                const std::string& indent)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        if (row.size() < 2)
            continue;
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    }
    for (const auto& row : rows) {
        if (row.size() < 2) {
            out << (row.empty() ? "" : row[0]) << '\n';
            continue;
        }
        std::string line = indent;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line.append(widths[i] - DisplayWidth(row[i]) + 2, ' ');
        }
        // Trailing blanks of empty last cells serve nobody.
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

}  // namespace qv::cli
