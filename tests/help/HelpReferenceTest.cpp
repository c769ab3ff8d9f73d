// The settings reference against the settings catalogue: the topic that the
// build compiles into the manual must show every setting with its label,
// allowed values and factory value, under its page.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "HelpReference.h"
#include "HelpText.h"
#include "core/SettingsCatalogue.h"

namespace {

namespace fs = std::filesystem;
using namespace qvhelp;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \n");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \n") - first + 1);
}

// A cell's text as the reader sees it.
std::string CellText(std::string_view cell) { return Trimmed(TopicText(cell)); }

// True when `word` occurs in `text` and is not part of a longer number or
// word: "0" is in "-1、0、+1" but not in "10" or "-0.4".
bool HasWord(const std::string& text, std::string_view word)
{
    auto joins = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '+' || c == '-';
    };
    for (std::size_t pos = text.find(word); pos != std::string::npos; pos = text.find(word, pos + 1)) {
        const std::size_t end = pos + word.size();
        if ((pos == 0 || !joins(text[pos - 1])) && (end == text.size() || !joins(text[end])))
            return true;
    }
    return false;
}

// A setting's row of the reference, read by the column headings.
struct Row {
    std::string heading;                       // of the section the row is in
    std::map<std::string, std::string> cells;  // column heading -> text
};

// Rows of `html` by the text of their "キー" cell. Each section starts at
// an <h2>; each table starts with a row of column headings.
std::multimap<std::string, Row> RowsByKey(const std::string& html)
{
    std::multimap<std::string, Row> rows;
    for (std::string_view section : Elements(html, "h2")) {
        const std::size_t start = html.find(section);
        const std::size_t next = html.find("<h2", start + 1);
        const std::string body = html.substr(start, next - start);
        const std::string heading = CellText(section);
        std::vector<std::string> columns;
        for (std::string_view tr : Elements(body, "tr")) {
            const std::vector<std::string_view> th = Elements(tr, "th");
            if (!th.empty()) {
                columns.clear();
                for (std::string_view cell : th)
                    columns.push_back(CellText(cell));
                continue;
            }
            Row row{heading, {}};
            const std::vector<std::string_view> td = Elements(tr, "td");
            for (std::size_t i = 0; i < td.size() && i < columns.size(); ++i)
                row.cells[columns[i]] = CellText(td[i]);
            rows.emplace(row.cells["キー"], row);
        }
    }
    return rows;
}

const std::string& BuiltTopic()
{
    static const std::string topic = ReadFile(QV_HELP_REFERENCE);
    return topic;
}

TEST(HelpReference, TheBuiltTopicIsTheFrameWithTheCatalogueTables)
{
    ASSERT_FALSE(BuiltTopic().empty()) << QV_HELP_REFERENCE << " was not made";
    const auto expected = qv::help::WithReference(
        ReadFile(fs::path(QV_SOURCE_DIR) / "res" / "help" / "reference.htm"), qv::help::ReferenceTables());
    ASSERT_TRUE(expected.has_value()) << "res/help/reference.htm lacks its reference markers";
    EXPECT_EQ(BuiltTopic(), *expected) << "the built topic is stale";
}

TEST(HelpReference, EverySettingHasOneRowUnderItsPageWithLabelValuesAndFactoryValue)
{
    const std::multimap<std::string, Row> rows = RowsByKey(BuiltTopic());
    EXPECT_EQ(rows.size(), qv::Settings().size()) << "rows that no setting explains";
    for (const qv::SettingDef& def : qv::Settings()) {
        const std::string key(def.key);
        ASSERT_EQ(rows.count(key), 1u) << key;
        const Row& row = rows.find(key)->second;
        EXPECT_EQ(row.heading, def.page) << key;
        EXPECT_EQ(row.cells.at("項目"), qv::FullLabel(def)) << key;

        const std::string& allowed = row.cells.at("選べる値");
        if (def.kind == qv::SettingKind::Integer) {
            EXPECT_TRUE(HasWord(allowed, std::to_string(def.min))) << key << ": " << allowed;
            EXPECT_TRUE(HasWord(allowed, std::to_string(def.max))) << key << ": " << allowed;
        }
        std::size_t after = 0;  // the texts in the list's order
        for (std::string_view text : def.texts) {
            EXPECT_TRUE(HasWord(allowed.substr(after), text)) << key << ": \"" << text << "\" in " << allowed;
            after = std::min(allowed.find(text, after) + text.size(), allowed.size());
        }
        EXPECT_NE(allowed.find(def.unit), std::string::npos) << key << ": unit in " << allowed;

        // The factory value, followed by the unit when there is one.
        const std::string factory = qv::ValueText(qv::FactoryValue(def));
        const std::string& shown = row.cells.at("工場出荷値");
        EXPECT_TRUE(shown.starts_with(factory) && Trimmed(shown.substr(factory.size())) == def.unit)
            << key << ": " << shown << " for " << factory;
    }
}

TEST(HelpReference, EachPageOnceInCatalogueOrder)
{
    std::vector<std::string> pages;
    for (const qv::SettingDef& def : qv::Settings())
        if (pages.empty() || pages.back() != def.page)
            pages.emplace_back(def.page);
    // The frame's own sections (関連項目) follow the tables.
    const std::string& topic = BuiltTopic();
    const std::size_t begin = topic.find("<!-- reference:begin"), end = topic.find("<!-- reference:end");
    ASSERT_LT(begin, end);
    std::vector<std::string> headings;
    const std::string tables = topic.substr(begin, end - begin);  // outlives the views into it
    for (std::string_view h2 : Elements(tables, "h2"))
        headings.push_back(CellText(h2));
    EXPECT_EQ(headings, pages);
}

TEST(WithReference, ReplacesWhatLiesBetweenTheMarkersAndKeepsThem)
{
    const std::string begin = "<!-- reference:begin note -->", end = "<!-- reference:end -->";
    const struct {
        std::string topic;
        std::optional<std::string> page;
    } cases[] = {
        {"<h1>a</h1>" + begin + "<p>old</p>\n" + end + "</body>",
         "<h1>a</h1>" + begin + "\nNEW" + end + "</body>"},
        {begin + end, begin + "\nNEW" + end},
        {"<h1>a</h1>" + end, std::nullopt},
        {begin + "<p>old</p>", std::nullopt},
        {end + begin, std::nullopt},
        {"<!-- reference:begin" + end, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> page = qv::help::WithReference(c.topic, "NEW");
        EXPECT_EQ(page, c.page) << c.topic;
        if (page) {  // a page made once is made the same way again
            EXPECT_EQ(qv::help::WithReference(*page, "NEW"), page) << c.topic;
        }
    }
}

TEST(HtmlEscaped, MarkupCharactersOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ＥＳＣ ａ，ＬＦ", "ＥＳＣ ａ，ＬＦ"},
        {"a < b && c > \"d\"", "a &lt; b &amp;&amp; c &gt; &quot;d&quot;"},
        {"&amp;", "&amp;amp;"},
        {"", ""},
    };
    for (const auto& [text, html] : cases)
        EXPECT_EQ(qv::help::HtmlEscaped(text), html) << text;
}

}  // namespace
