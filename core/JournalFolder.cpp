// Reading a site folder's journals: only the tool lists folders, so the
// panel does not link the folder listing.
#include <algorithm>

#include "SendJournal.h"

namespace qv {

std::vector<JournalRecord> ReadJournalFolder(const std::filesystem::path& folder, const JournalSteps& steps)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".jsonl")
            files.push_back(it->path());
    // A rotated journal before its successor, whatever order the folder lists them in.
    std::sort(files.begin(), files.end());
    std::vector<JournalRecord> records;
    for (const auto& file : files) {
        const auto text = steps.read(file);
        auto part = text ? ReadJournalText(*text) : std::vector<JournalRecord>();
        records.insert(records.end(), std::make_move_iterator(part.begin()),
                       std::make_move_iterator(part.end()));
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const JournalRecord& a, const JournalRecord& b) { return a.time < b.time; });
    return records;
}

}  // namespace qv
