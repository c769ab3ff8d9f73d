// How the manual hangs together: every topic ends with its related topics
// and is linked from another one, the keyword index finds every message,
// and the topics use the screen's words.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "HelpReference.h"
#include "HelpText.h"
#include "Manual.h"
#include "RcText.h"
#include "core/SettingsCatalogue.h"

namespace {

using namespace qvhelp;

std::string FileOf(const std::string& href) { return href.substr(0, href.find('#')); }

TEST(HelpLinks, EveryTopicEndsWithItsRelatedTopics)
{
    const std::string heading = "<h2 id=\"related\">関連項目</h2>";
    for (const auto& [topic, html] : TheManual().html) {
        const std::size_t at = html.rfind("<h2");
        ASSERT_NE(at, std::string::npos) << topic << " has no sections";
        EXPECT_EQ(html.compare(at, heading.size(), heading), 0)
            << topic << ": the last section is not " << heading;
        const std::string tail = html.substr(at);
        const std::vector<std::string> links = AttributeValues(tail, "a", "href");
        EXPECT_FALSE(links.empty()) << topic << ": 関連項目 names no topic";
        for (const std::string& href : links)
            EXPECT_NE(FileOf(href), topic) << topic << ": 関連項目 names the topic itself";
        const std::size_t list = tail.rfind("</ul>");
        ASSERT_NE(list, std::string::npos) << topic << ": 関連項目 is no list";
        EXPECT_EQ(Squeezed(TopicText(tail.substr(list))).find_first_not_of('\x1f'), std::string::npos)
            << topic << ": text after 関連項目";
    }
}

TEST(HelpLinks, EveryTopicIsLinkedFromAnotherTopic)
{
    std::set<std::string> linked;
    for (const auto& [topic, html] : TheManual().html)
        for (const std::string& href : AttributeValues(html, "a", "href"))
            if (FileOf(href) != topic && !FileOf(href).empty())
                linked.insert(FileOf(href));
    for (const auto& [topic, html] : TheManual().html)
        EXPECT_TRUE(linked.contains(topic)) << "no other topic links to " << topic;
}

// The index keyword of a message, without its 「」 and a closing "…".
std::string FirstWords(std::string keyword)
{
    for (const std::string mark : {"「", "」", "…"})
        for (std::size_t at; (at = keyword.find(mark)) != std::string::npos;)
            keyword.erase(at, mark.size());
    return Squeezed(keyword);
}

TEST(HelpIndex, FindsEveryMessageByItsFirstWords)
{
    const std::vector<SitemapEntry> index = SitemapEntries(BuiltIndex());
    ASSERT_FALSE(index.empty()) << QV_HELP_INDEX << " was not made";
    std::size_t messages = 0;
    for (const ShownText& t : StringTableTexts(Rc(), SharedTextMacros())) {
        // A message says something whole: it holds a full stop or a question mark.
        if (t.text.find("。") == std::string::npos && t.text.find("？") == std::string::npos)
            continue;
        ++messages;
        const std::string message = Squeezed(PlainLabel(t.text));
        const bool found = std::ranges::any_of(index, [&](const SitemapEntry& e) {
            const std::string words = FirstWords(e.name);
            return e.name.starts_with("「") && message.starts_with(words) &&
                   (words.size() >= 24 || words.size() == message.size());
        });
        EXPECT_TRUE(found) << "qvx4k5.rc line " << t.line << ": no index entry 「...」 starts the message \""
                           << PlainLabel(t.text) << "\"";
    }
    EXPECT_GT(messages, 15u) << "the string table holds more messages: is the reader broken?";
}

// Words that the screen says otherwise: the program's own texts say
// プリンタ, サーバー, フォルダー, コンピュータ／ユーザー, ドライバ, 印刷,
// カット紙, ダイアログ, ＭＳＷ１ (the tab) and ＬＦピッチ補正; a file is
// saved (保存) and the printer is sent to (送信).
const struct Variant {
    const char* pattern;
    const char* say;
} kVariants[] = {
    {"プリンター", "プリンタ"},
    {"サーバ(?!ー)", "サーバー"},
    {"フォルダ(?!ー)", "フォルダー"},
    {"コンピューター", "コンピュータ"},
    {"ユーザ(?!ー)", "ユーザー"},
    {"ドライバー", "ドライバ"},
    {"印字", "印刷"},
    {"単票", "カット紙"},
    {"ダイアログボックス", "ダイアログ"},
    {"チェック ボックス|ショートカット キー", "チェックボックス、ショートカットキー"},
    {"工場出荷時の?設定", "工場出荷設定、工場出荷設定値"},
    {"書込|読込", "書き込み、読み込み"},
    {"ファイル(に|へ)書き込", "保存"},
    {"(プリンタ|キュー)(に|へ)(書き込|送(ら|り|る|れ|ろ|っ))", "送信"},
    {"LFピッチ", "ＬＦピッチ"},
    {"MSW[1-4](?![-0-9])", "ＭＳＷ１～ＭＳＷ４ (MSW1-1 and the like name a switch)"},
    {"ＯＫ|Ｃｔｒｌ", "OK、Ctrl"},
    {"\xEF\xBD[\xA6-\xBF]|\xEF\xBE[\x80-\x9F]", "full-width katakana, not half-width"},
};

// About ten characters either side of `pos`, cut between UTF-8 characters.
std::string Around(const std::string& text, std::size_t pos)
{
    auto boundary = [&](std::size_t at) {
        while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            --at;
        return std::min(at, text.size());
    };
    const std::size_t from = boundary(pos < 30 ? 0 : pos - 30);
    return text.substr(from, boundary(pos + 30) - from);
}

TEST(HelpWords, TheTopicsUseTheScreensWords)
{
    std::map<std::string, std::string> texts;  // where -> text as read
    for (const auto& [topic, html] : TheManual().html)
        texts[topic] = TopicText(html);
    texts["qvx4k5.hhc"] = ReadFile(HelpDir() / "qvx4k5.hhc");
    texts["keywords.txt"] = ReadFile(HelpDir() / "keywords.txt");
    for (const Variant& v : kVariants) {
        const std::regex pattern(v.pattern);
        for (const auto& [where, text] : texts)
            for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
                 it != std::sregex_iterator(); ++it) {
                ADD_FAILURE() << where << ": \"" << it->str() << "\" where the screen says " << v.say
                              << ": ..." << Around(text, it->position()) << "...";
            }
    }
}

}  // namespace
