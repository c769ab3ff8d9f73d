// UTF-8 conversions, console widths, and tables aligned by them.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/TextTable.h"
#include "cli/Utf8.h"

namespace {

using namespace qv::cli;

TEST(Utf8, WideStringsRoundTripAndBadBytesBecomeReplacements)
{
    const struct {
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {"KQ Alpha", L"KQ Alpha"},
        {"\\\\srv\\プリンタ", L"\\\\srv\\プリンタ"},
        {"\xF0\x9F\x96\xA8", L"\U0001F5A8"},  // beyond the BMP: a surrogate pair on Windows
        {"é", L"é"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FromUtf8(c.utf8), c.wide);
        EXPECT_EQ(ToUtf8(c.wide), c.utf8);
    }
    EXPECT_EQ(FromUtf8("a\xE6\xA8"), L"a\uFFFD\uFFFD");          // cut sequence
    EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");            // overlong slash
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // a surrogate in UTF-8
}

TEST(Utf8, DisplayWidthCountsWideCharactersTwice)
{
    const struct {
        const char* text;
        std::size_t width;
    } cases[] = {
        {"", 0},     {"OCR-B", 5},   {"日本", 4},         {"ＭＳＷ１", 8},
        {"ｶﾀｶﾅ", 4}, {"-0.8 mm", 7}, {"TOF＋固定長", 11}, {"（MSW1-4）", 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
}

TEST(TextTable, ColumnsLineUpByDisplayWidthAndHeadingsStandAlone)
{
    std::ostringstream out;
    WriteTable(out, {{"[機能選択]"}, {"印刷圧微調整", "+1", "select.printPressure"}, {"OCR", "オート", ""}},
               "  ");
    EXPECT_EQ(out.str(), "[機能選択]\n"
                         "  印刷圧微調整  +1      select.printPressure\n"
                         "  OCR           オート\n");
}

}  // namespace
