#include "NearestWord.h"

#include <algorithm>
#include <cctype>

namespace qv::cli {

namespace {

constexpr std::size_t kMaxWordBytes = 64;
constexpr std::size_t kMaxEdits = 3;

std::size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::optional<std::string_view> NearestWord(std::string_view word,
                                            const std::vector<std::string_view>& candidates)
{
    if (word.size() > kMaxWordBytes)
        return std::nullopt;
    std::optional<std::string_view> best;
    std::size_t bestDistance = kMaxEdits + 1;
    for (const std::string_view candidate : candidates) {
        const std::size_t d = EditDistance(word, candidate);
        if (d < bestDistance) {
            bestDistance = d;
            best = candidate;
        }
    }
    return best;
}

}  // namespace qv::cli
