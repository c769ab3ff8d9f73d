// UTF-8 conversions, console widths, and tables aligned by them.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "cli/TextInput.h"
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

TEST(TextInput, Utf8AndUtf16AreReadAndOtherEncodingsRefused)
{
    const std::string json = "{\"a\":\"ゴ\"}";
    const struct {
        const char* what;
        std::string bytes;
        std::optional<std::string> text;
        std::string problem;  // a part of it
    } cases[] = {
        {"UTF-8", json, json, ""},
        {"UTF-8 with BOM (Set-Content -Encoding UTF8 in 5.1)", "\xEF\xBB\xBF" + json, json, ""},
        // As > and Out-File of Windows PowerShell 5.1 write it.
        {"UTF-16 LE with BOM", std::string("\xFF\xFE{\0\"\0a\0\"\0:\0\"\0\xB4\x30\"\0}\0", 20), json, ""},
        {"UTF-16 BE with BOM", std::string("\xFE\xFF\0{\0\"\0a\0\"\0:\0\"\x30\xB4\0\"\0}", 20), json, ""},
        {"surrogate pair", std::string("\xFF\xFE\x3D\xD8\xA8\xDD", 6), "\xF0\x9F\x96\xA8", ""},
        {"code page 932 (Set-Content in 5.1)", "{\"a\":\"\x83\x53\"}", std::nullopt,
         "UTF-8 として読めません（7 バイト目が 0x83）。Shift_JIS（コード ページ 932）"},
        {"UTF-16 without BOM", std::string("{\0}\0", 4), std::nullopt,
         "NUL 文字があります（2 バイト目が 0x00）"},
        {"odd UTF-16", std::string("\xFF\xFE{\0}", 5), std::nullopt, "バイト数が奇数です"},
        {"lone surrogate", std::string("\xFF\xFE\x3D\xD8{\0", 6), std::nullopt, "対のないサロゲート"},
        {"UTF-32", std::string("\xFF\xFE\0\0{\0\0\0", 8), std::nullopt, "UTF-32"},
    };
    for (const auto& c : cases) {
        std::string problem;
        EXPECT_EQ(DecodeTextInput(c.bytes, problem), c.text) << c.what << ": " << problem;
        if (!c.text) {
            EXPECT_TRUE(problem.find(c.problem) != std::string::npos &&
                        problem.find("UTF-8 で保存し直してください") != std::string::npos)
                << c.what << ": " << problem;
        }
    }
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
