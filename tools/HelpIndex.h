// The manual's keyword index (qvx4k5.hhk), made from a hand-kept list in
// which every keyword carries its reading, plus one keyword per setting key
// of the settings catalogue. Sorted in the order of a Japanese index:
// letters and digits first, then kana in 五十音 order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::help {

struct IndexEntry {
    std::string reading;  // hiragana, ASCII, or both ("ctrl+きー")
    std::string keyword;  // as the index shows it
    std::string target;   // "topic.htm" or "topic.htm#anchor"
};

struct IndexList {
    std::vector<IndexEntry> entries;
    std::vector<std::string> errors;  // "line 12: ...", empty when the list is sound
};

// Lines of `reading<TAB>keyword<TAB>target`; empty lines and lines starting
// with '#' are skipped. A reading may hold only hiragana, the long vowel
// mark and printable ASCII; a keyword may appear once.
IndexList ParseIndexList(std::string_view text);

// The key by which an index is ordered: ASCII lower-cased; kana with voiced
// and small forms as their plain kana and the long vowel mark as the vowel
// it lengthens (こーど as こおど), followed by the reading itself so that
// plain kana come before voiced ones (かい, がい) and the order is total.
std::u32string SortKey(std::string_view reading);

// The keyword of every setting key, pointing at its row of the settings
// reference (reference.htm#key).
std::vector<IndexEntry> SettingKeyEntries();

// The index file: entries sorted by SortKey, as an HTML Help sitemap in
// UTF-8 (the build converts it to code page 932).
std::string IndexSitemap(std::vector<IndexEntry> entries);

}  // namespace qv::help
