// The keyword index generator: its list's rules and the order of a Japanese
// index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelpIndex.h"

namespace {

using qv::help::IndexEntry;

TEST(HelpIndex, SortsLettersFirstThenKanaInGojuonOrder)
{
    // Expected order; each reading must sort after the one before it.
    const char* readings[] = {
        "Ctrl+O",  // letters ignore case: c before f
        "f1",       "あい", "あお",
        "かい",  // plain kana before voiced on an equal footing
        "がい",
        "かき",    // ... but voicing does not outrank the next kana
        "こーど",  // the long vowel counts as the vowel it lengthens: こおど
        "こおり",
        "しやく",  // small kana count as their plain kana: しゃしん is しやしん
        "しゃしん",
        "ぱいか",  // ぱ counts as は
        "はいる",   "ん",
    };
    for (std::size_t i = 1; i < std::size(readings); ++i)
        EXPECT_LT(qv::help::SortKey(readings[i - 1]), qv::help::SortKey(readings[i]))
            << readings[i - 1] << " should come before " << readings[i];
}

}  // namespace
