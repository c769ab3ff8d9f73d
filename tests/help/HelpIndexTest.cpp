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

TEST(HelpIndex, TheSitemapListsEntriesInReadingOrder)
{
    const std::string hhk = qv::help::IndexSitemap({{"へるぷ", "ヘルプ", "exit.htm#help"},
                                                    {"alt+f4", "Alt+F4（終了）", "exit.htm"},
                                                    {"かっとし", "カット紙", "glossary.htm#cutsheet"}});
    const std::size_t alt = hhk.find("value=\"Alt+F4（終了）\""), cut = hhk.find("value=\"カット紙\""),
                      help = hhk.find("value=\"ヘルプ\"");
    ASSERT_NE(help, std::string::npos);
    EXPECT_LT(alt, cut);
    EXPECT_LT(cut, help);
    EXPECT_NE(hhk.find("<param name=\"Local\" value=\"glossary.htm#cutsheet\">", cut), std::string::npos);
}

TEST(HelpIndex, TheListRefusesWhatTheIndexCannotShowOrSort)
{
    const struct {
        const char* line;
        const char* error;  // part of the message; "" when the line is sound
    } cases[] = {
        {"かっとし\tカット紙\tglossary.htm#cutsheet", ""},
        {"# a comment", ""},
        {"", ""},
        {"かっとし\tカット紙", "expected reading"},
        {"かっとし\tカット紙\tglossary.htm\textra", "expected reading"},
        {"\tカット紙\tglossary.htm", "expected reading"},
        {"カットシ\tカット紙\tglossary.htm", "a reading takes only"},
        {"かっと紙\tカット紙\tglossary.htm", "a reading takes only"},
        {"かっとし\t\"カット\"紙\tglossary.htm", "holds"},
        {"かっとし\tカット紙\tglossary.htm#a&b", "holds"},
        {"かっとし\tカット紙\xff\tglossary.htm", "not UTF-8"},
    };
    for (const auto& c : cases) {
        const qv::help::IndexList list = qv::help::ParseIndexList(c.line);
        if (*c.error == '\0') {
            EXPECT_TRUE(list.errors.empty()) << c.line;
            continue;
        }
        ASSERT_EQ(list.errors.size(), 1u) << c.line;
        EXPECT_NE(list.errors[0].find(c.error), std::string::npos) << list.errors[0];
        EXPECT_TRUE(list.entries.empty()) << c.line;
    }
    const qv::help::IndexList twice =
        qv::help::ParseIndexList("かっとし\tカット紙\ta.htm\r\nかっとし\tカット紙\tb.htm\n");
    ASSERT_EQ(twice.errors.size(), 1u);
    EXPECT_EQ(twice.errors[0].rfind("line 2: ", 0), 0u) << twice.errors[0];
    EXPECT_EQ(twice.entries.size(), 1u);
}

}  // namespace
