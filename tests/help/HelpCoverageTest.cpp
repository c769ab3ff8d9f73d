// The manual against the program: every label of the settings pages and
// dialogs, every menu command with its accelerator and every text the
// panel's code shows must appear in the help topics, and the help project
// must list every topic and picture that the topics use.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "HelpText.h"
#include "RcText.h"

namespace {

namespace fs = std::filesystem;
using namespace qvhelp;

const fs::path kSourceDir{QV_SOURCE_DIR};
const fs::path kHelpDir = kSourceDir / "res" / "help";

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Topics made by the build (a '|'-separated list of paths).
std::vector<fs::path> GeneratedTopics()
{
    std::vector<fs::path> paths;
    std::stringstream list{std::string(QV_GENERATED_HELP_TOPICS)};
    for (std::string item; std::getline(list, item, '|');)
        if (!item.empty())
            paths.emplace_back(item);
    return paths;
}

struct Manual {
    std::map<std::string, std::string> html;      // topic file name -> HTML as compiled
    std::map<std::string, std::string> squeezed;  // topic file name -> Squeezed(TopicText)

    bool Has(const std::string& topic, const std::string& needle) const
    {
        const auto it = squeezed.find(topic);
        return it != squeezed.end() && it->second.find(needle) != std::string::npos;
    }
    bool HasAnywhere(const std::string& needle) const
    {
        return std::ranges::any_of(squeezed,
                                   [&](const auto& t) { return t.second.find(needle) != std::string::npos; });
    }
};

const Manual& TheManual()
{
    static const Manual manual = [] {
        Manual m;
        for (const auto& entry : fs::directory_iterator(kHelpDir))
            if (entry.path().extension() == ".htm")
                m.html[entry.path().filename().string()] = ReadFile(entry.path());
        // A topic the build makes replaces its frame of the same name.
        for (const fs::path& path : GeneratedTopics())
            m.html[path.filename().string()] = ReadFile(path);
        for (const auto& [name, html] : m.html)
            m.squeezed[name] = Squeezed(TopicText(html));
        return m;
    }();
    return manual;
}

const std::string& Rc()
{
    static const std::string rc = ReadFile(kSourceDir / "res" / "qvx4k5.rc");
    return rc;
}

// ---------------------------------------------------------------------------
// The readers themselves

TEST(PlainLabel, DropsAccessKeysLineBreaksAndEllipsis)
{
    const struct {
        const char* text;
        const char* plain;
    } cases[] = {
        {"従来互換(&O)", "従来互換"},
        {"パラメータ設定（&P）", "パラメータ設定"},
        {"書式の設定(&D)...", "書式の設定"},
        {"カット位置からの\n自動戻り時間(&P)", "カット位置からの自動戻り時間"},
        {"ＥＳＣ ａ，ＬＦ，ＵＳ，ＶＴ (&T)", "ＥＳＣ ａ，ＬＦ，ＵＳ，ＶＴ"},
        {"各国文字の切り替え(&C) （MSW1-1/2/3） ", "各国文字の切り替え （MSW1-1/2/3）"},
        {"Save && &Quit", "Save & Quit"},
        {"1/120インチ", "1/120インチ"},
        {"(&X)", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainLabel(c.text), c.plain) << c.text;
}

TEST(DialogTexts, VisibleControlTextsInTemplateOrder)
{
    const char* rc = "IDD_OTHER DIALOGEX 0, 0, 10, 10\n"
                     "BEGIN\n"
                     "    LTEXT \"not this one\", IDC_STATIC, 1, 1, 1, 1\n"
                     "END\n"
                     "IDD_X DIALOGEX 0, 0, 100, 100\n"
                     "CAPTION \"Title \"\"quoted\"\"\"\n"
                     "FONT 9, \"Font\", 0, 0, 0x80\n"
                     "BEGIN\n"
                     "    // a comment \"with text\"\n"
                     "    LTEXT           \"Hidden\", IDC_STATIC, 1, 1, 1, 1, NOT WS_VISIBLE\n"
                     "    GROUPBOX        \"Group\", IDC_STATIC, 1, 1, 1, 1\n"
                     "    COMBOBOX        IDC_LIST, 1, 1, 1, 1, CBS_DROPDOWNLIST\n"
                     "    CONTROL         \"Two\\nlines(&T)\", IDC_R, \"Button\", BS_AUTORADIOBUTTON,\n"
                     "                    1, 1, 1, 1\n"
                     "    CONTROL         \"\", IDC_SPIN, \"msctls_updown32\", 0, 1, 1, 1, 1\n"
                     "    EDITTEXT        IDC_E, 1, 1, 1, 1\n"
                     "    DEFPUSHBUTTON   \"OK\", IDOK, 1, 1, 1, 1\n"
                     "END\n";
    const std::vector<ShownText> texts = DialogTexts(rc, "IDD_X");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "Title \"quoted\"");
    EXPECT_EQ(texts[0].line, 6);
    EXPECT_EQ(texts[1].text, "Group");
    EXPECT_EQ(texts[2].text, "Two\nlines(&T)");
    EXPECT_EQ(texts[2].line, 13);
    EXPECT_EQ(texts[3].text, "OK");
    EXPECT_TRUE(DialogTexts(rc, "IDD_MISSING").empty());
}

TEST(MenuCommands, PopupsAndItemsWithTheirAccelerators)
{
    const char* rc = "IDR_M MENU\n"
                     "BEGIN\n"
                     "    POPUP \"File(&F)\"\n"
                     "    BEGIN\n"
                     "        MENUITEM \"Open(&O)...\\tCtrl+O\", ID_OPEN\n"
                     "        MENUITEM SEPARATOR\n"
                     "        MENUITEM \"Exit(&X)\", ID_EXIT\n"
                     "    END\n"
                     "    POPUP \"Help(&H)\"\n"
                     "    BEGIN\n"
                     "        MENUITEM \"Contents\\tF1\", ID_HELP\n"
                     "    END\n"
                     "END\n"
                     "IDR_M ACCELERATORS\n"
                     "BEGIN\n"
                     "    \"O\", ID_OPEN, VIRTKEY, CONTROL\n"
                     "END\n";
    const std::vector<MenuCommand> commands = MenuCommands(rc, "IDR_M");
    ASSERT_EQ(commands.size(), 5u);
    const std::pair<const char*, const char*> expected[] = {
        {"File(&F)", ""}, {"Open(&O)...", "Ctrl+O"}, {"Exit(&X)", ""}, {"Help(&H)", ""}, {"Contents", "F1"}};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(commands[i].text, expected[i].first);
        EXPECT_EQ(commands[i].accelerator, expected[i].second);
    }
}

TEST(StringTableTexts, EveryEntryOfEveryTable)
{
    const char* rc = "STRINGTABLE\nBEGIN\n    ID_A \"Alpha\"\n    ID_B \"Beta \"\"b\"\"\"\nEND\n"
                     "IDD_X DIALOGEX 0, 0, 1, 1\nBEGIN\n    LTEXT \"no\", 1, 1, 1, 1, 1\nEND\n"
                     "STRINGTABLE\nBEGIN\n    ID_C \"Gamma\"\nEND\n";
    const std::vector<ShownText> texts = StringTableTexts(rc);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "Alpha");
    EXPECT_EQ(texts[1].text, "Beta \"b\"");
    EXPECT_EQ(texts[2].text, "Gamma");
}

TEST(JapaneseWideLiterals, JoinsAdjacentLiteralsAndSkipsTheRest)
{
    const char* src = "// L\"コメント\"\n"
                      "f(L\"ASCII only\", \"狭い文字列\", '\"');\n"
                      "/* L\"これも\" */ g(L\"一行目\\n\"\n"
                      "  // between\n"
                      "  L\"二行目\", L\"別\");\n"
                      "h(NAMEL\"not wide\");\n";
    const std::vector<ShownText> texts = JapaneseWideLiterals(src);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "一行目\n二行目");
    EXPECT_EQ(texts[0].line, 3);
    EXPECT_EQ(texts[1].text, "別");
    EXPECT_EQ(texts[1].line, 5);
}

TEST(TopicText, TagsDroppedReferencesDecodedBlocksSeparated)
{
    const struct {
        const char* html;
        const char* text;
    } cases[] = {
        {"<p>カット紙<b>(&amp;C)</b></p>", "\nカット紙(&C)\n"},
        {"<td>a</td><td>b</td>", "\na\n\nb\n"},
        {"x<br>y", "xy"},
        {"<!-- 隠す --><span>見える</span>", "見える"},
        {"<style>p { x: 1 }</style>本文", "本文"},
        {"&lt;&#x4E00;&#20108;&gt;&nbsp;&unknown;", "<一二> &unknown;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TopicText(c.html), c.text) << c.html;
    EXPECT_EQ(Squeezed("ＥＳＣ ａ\n  b\t"), "ＥＳＣａ\x1f"
                                            "b");
}

TEST(AttributeValues, OnlyTheNamedAttributeOfTheNamedTag)
{
    const char* html = "<img src=\"images/a.png\" alt=\"x\"><abbr href=\"no\"><a href=\"b.htm#c\">"
                       "<IMG datasrc=\"no\" SRC=\"images/d.png\">";
    EXPECT_EQ(AttributeValues(html, "img", "src"),
              (std::vector<std::string>{"images/a.png", "images/d.png"}));
    EXPECT_EQ(AttributeValues(html, "a", "href"), (std::vector<std::string>{"b.htm#c"}));
}

TEST(Elements, FromStartTagToEndTagOrToTheNextStartTag)
{
    const struct {
        const char* html;
        const char* tag;
        std::vector<std::string_view> elements;
    } cases[] = {
        {"<table><tr><td>a</td></tr>\n<TR class=\"x\"><th>b</TR></table><h2>c</h2>",
         "tr",
         {"<tr><td>a</td></tr>", "<TR class=\"x\"><th>b</TR>"}},
        {"<tr><td>a<tr><td>b", "tr", {"<tr><td>a", "<tr><td>b"}},
        {"<tr><td>a</td><td>b</tr>", "td", {"<td>a</td>", "<td>b</tr>"}},
        {"<track><thead><th>x</th>", "th", {"<th>x</th>"}},
        {"<tr><td>a</tr", "tr", {"<tr><td>a</tr"}},
        {"no tables", "tr", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Elements(c.html, c.tag), c.elements) << c.html;
}

// ---------------------------------------------------------------------------
// The manual

// Each settings page and dialog, the topic that explains it and the
// screenshot that topic shows.
const struct DialogTopic {
    const char* dialog;
    const char* topic;
    const char* image;
} kDialogTopics[] = {
    {"IDD_PAGE_SELECT", "select.htm", "images/page-select.png"},
    {"IDD_PAGE_PARAM", "param.htm", "images/page-param.png"},
    {"IDD_PAGE_MSW1", "msw1.htm", "images/page-msw1.png"},
    {"IDD_PAGE_MSW2", "msw2.htm", "images/page-msw2.png"},
    {"IDD_PAGE_MSW3", "msw3.htm", "images/page-msw3.png"},
    {"IDD_PAGE_MSW4", "msw4.htm", "images/page-msw4.png"},
    {"IDD_FORM_SETUP", "form.htm", "images/form-setup.png"},
    {"IDD_PRINTER_SELECT", "printer.htm", "images/printer-select.png"},
    {"IDD_SEND_HISTORY", "history.htm", "images/sendhistory.png"},
    {"IDD_SETTINGS_COMPARE", "history.htm", "images/compare.png"},
};

TEST(HelpCoverage, EveryControlLabelIsExplainedInItsTopic)
{
    const Manual& manual = TheManual();
    for (const DialogTopic& d : kDialogTopics) {
        const std::vector<ShownText> texts = DialogTexts(Rc(), d.dialog);
        EXPECT_FALSE(texts.empty()) << d.dialog << ": no such template with texts in res/qvx4k5.rc";
        ASSERT_TRUE(manual.html.contains(d.topic)) << d.topic << " missing in res/help";
        for (const ShownText& t : texts) {
            const std::string plain = PlainLabel(t.text);
            EXPECT_TRUE(manual.Has(d.topic, Squeezed(plain)))
                << d.dialog << " (qvx4k5.rc line " << t.line << "): the label \"" << plain << "\" is not in "
                << d.topic;
        }
        EXPECT_TRUE(std::ranges::count(AttributeValues(manual.html.at(d.topic), "img", "src"), d.image))
            << d.topic << " does not show " << d.image;
    }
}

// Rows of a topic's tables, each as Squeezed text.
std::vector<std::string> TableRows(const std::string& html)
{
    std::vector<std::string> rows;
    for (std::string_view row : Elements(html, "tr"))
        rows.push_back(Squeezed(TopicText(row)));
    return rows;
}

TEST(HelpCoverage, EveryMenuCommandIsListedWithItsAccelerator)
{
    const char* topic = "commands.htm";
    const Manual& manual = TheManual();
    ASSERT_TRUE(manual.html.contains(topic));
    const std::vector<std::string> rows = TableRows(manual.html.at(topic));
    const std::vector<MenuCommand> commands = MenuCommands(Rc(), "IDR_MENU_MAIN");
    EXPECT_FALSE(commands.empty()) << "menu IDR_MENU_MAIN not found in res/qvx4k5.rc";
    for (const MenuCommand& c : commands) {
        const std::string text = Squeezed(PlainLabel(c.text));
        const std::string key = Squeezed(c.accelerator);
        const bool listed = std::ranges::any_of(rows, [&](const std::string& row) {
            return row.find(text) != std::string::npos && row.find(key) != std::string::npos;
        });
        EXPECT_TRUE(listed) << "qvx4k5.rc line " << c.line << ": the menu command \"" << PlainLabel(c.text)
                            << "\"" << (key.empty() ? "" : " with \"" + c.accelerator + "\"")
                            << " is in no table row of " << topic;
    }
}

// The parts of a shown text that stay when the program fills it in:
// "%1 から %2 まで" gives "から" and "まで", a filter "a|b||" gives a and b.
std::vector<std::string> FixedParts(const std::string& text)
{
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '|' || (text[i] == '%' && i + 1 < text.size() &&
                               std::isalnum(static_cast<unsigned char>(text[i + 1])))) {
            if (text[i] == '%')
                while (i + 1 < text.size() && std::isalnum(static_cast<unsigned char>(text[i + 1])))
                    ++i;
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    std::erase_if(parts, [](const std::string& p) { return Squeezed(PlainLabel(p)).empty(); });
    return parts;
}

TEST(HelpCoverage, FixedPartsSplitAtFormatsAndFilterBars)
{
    EXPECT_EQ(FixedParts("%1 から %2 までの整数"), (std::vector<std::string>{" から ", " までの整数"}));
    EXPECT_EQ(FixedParts("QV設定ファイル (*.dat)|*.dat||"),
              (std::vector<std::string>{"QV設定ファイル (*.dat)", "*.dat"}));
    EXPECT_EQ(FixedParts("%sの設定(&D)..."), (std::vector<std::string>{"の設定(&D)..."}));
}

// Texts that never reach the operator's eyes.
const std::set<std::string> kNeverShown = {
    "データチェック用コマンド",  // name of the command the pages send to the main window
};

TEST(HelpCoverage, EveryMessageAndTextOfTheCodeIsInTheManual)
{
    const Manual& manual = TheManual();
    std::size_t seen = 0;
    auto check = [&](const std::string& where, const ShownText& t) {
        ++seen;
        if (kNeverShown.contains(t.text))
            return;
        for (const std::string& part : FixedParts(t.text))
            EXPECT_TRUE(manual.HasAnywhere(Squeezed(PlainLabel(part))))
                << where << " line " << t.line << ": \"" << PlainLabel(part) << "\" is in no help topic";
    };
    // The string table names the texts it shares with the tool by macro.
    const Defines shared = ReadDefines(ReadFile(kSourceDir / "core" / "SharedTexts.h"));
    for (const ShownText& t : StringTableTexts(Rc(), shared)) {
        EXPECT_FALSE(t.text.empty()) << "res/qvx4k5.rc line " << t.line << ": a text of unknown macros";
        check("res/qvx4k5.rc", t);
    }
    for (const char* dir : {"app", "framework", "printer", "ui"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kSourceDir / dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h")
                continue;
            for (const ShownText& t : JapaneseWideLiterals(ReadFile(entry.path())))
                check(fs::relative(entry.path(), kSourceDir).generic_string(), t);
        }
    }
    EXPECT_GT(seen, 20u) << "the panel shows more texts than were found: is the reader broken?";
}

// ---------------------------------------------------------------------------
// The help project

struct Project {
    std::map<std::string, std::string> options;
    std::vector<std::string> files;
};

Project ReadProject()
{
    Project p;
    std::istringstream in(ReadFile(kHelpDir / "qvx4k5.hhp"));
    std::string section;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() == '[') {
            section = line;
        } else if (section == "[OPTIONS]") {
            const std::size_t eq = line.find('=');
            p.options[line.substr(0, eq)] = line.substr(eq + 1);
        } else if (section == "[FILES]") {
            p.files.push_back(line);
        }
    }
    return p;
}

// Values of the "Local" parameters of a contents or index file.
std::vector<std::string> SitemapLocals(const std::string& text)
{
    std::vector<std::string> locals;
    const std::string key = "name=\"Local\" value=\"";
    for (std::size_t pos = text.find(key); pos != std::string::npos; pos = text.find(key, pos + 1)) {
        const std::size_t start = pos + key.size();
        locals.push_back(text.substr(start, text.find('"', start) - start));
    }
    return locals;
}

TEST(HelpProject, ListsEveryTopicAndPictureThatTheTopicsUse)
{
    Project project = ReadProject();
    const std::set<std::string> listed(project.files.begin(), project.files.end());

    std::set<std::string> onDisk;
    for (const auto& entry : fs::recursive_directory_iterator(kHelpDir)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".htm" || ext == ".css" || ext == ".png")
            onDisk.insert(fs::relative(entry.path(), kHelpDir).generic_string());
    }
    std::set<std::string> generated;
    for (const fs::path& path : GeneratedTopics()) {
        EXPECT_TRUE(fs::is_regular_file(path)) << "the build did not make the topic " << path;
        generated.insert(path.filename().string());
    }
    for (const std::string& file : onDisk)
        EXPECT_TRUE(listed.contains(file)) << file << " is not in [FILES] of qvx4k5.hhp";
    for (const std::string& file : listed)
        EXPECT_TRUE(onDisk.contains(file) || generated.contains(file))
            << "[FILES] names " << file << ", which is missing";

    for (const char* option : {"Default topic", "Contents file", "Index file"})
        ASSERT_TRUE(project.options.contains(option)) << option;
    // chmcmd's full-text index holds no Japanese word, and its binary index
    // garbles Japanese keywords: the viewer offers neither.
    EXPECT_EQ(project.options["Full-text search"], "No");
    EXPECT_EQ(project.options["Binary Index"], "No");
    EXPECT_TRUE(listed.contains(project.options.at("Default topic")));

    const std::vector<std::string> contents =
        SitemapLocals(ReadFile(kHelpDir / project.options.at("Contents file")));
    for (const std::string& file : listed) {
        if (file.ends_with(".htm")) {
            EXPECT_TRUE(std::ranges::count(contents, file)) << file << " is not in the contents";
        }
    }
    for (const std::string& local : contents)
        EXPECT_TRUE(listed.contains(local)) << "the contents name " << local;

    // A reference "topic.htm#anchor" needs the topic in [FILES] and an
    // element with that id (in a made topic, as the build made it).
    auto checkReference = [&](const std::string& from, const std::string& reference) {
        const std::string file = reference.substr(0, reference.find('#'));
        EXPECT_TRUE(listed.contains(file)) << from << " names " << reference << ", which is not in [FILES]";
        const auto topic = TheManual().html.find(file);
        if (file != reference && topic != TheManual().html.end()) {
            const std::string id = "id=\"" + reference.substr(file.size() + 1) + "\"";
            EXPECT_NE(topic->second.find(id), std::string::npos)
                << from << " names " << reference << ", an anchor that " << file << " does not have";
        }
    };
    // The index is the one the build writes (tools/make_help_index).
    EXPECT_EQ(project.options.at("Index file"), fs::path(QV_HELP_INDEX).filename());
    const std::vector<std::string> index = SitemapLocals(ReadFile(QV_HELP_INDEX));
    EXPECT_GT(index.size(), 20u) << "a keyword index of a few entries helps nobody";
    for (const std::string& local : index)
        checkReference("the index", local);

    std::set<std::string> shown;
    for (const auto& [topic, html] : TheManual().html) {
        for (const std::string& src : AttributeValues(html, "img", "src")) {
            shown.insert(src);
            EXPECT_TRUE(listed.contains(src)) << topic << " shows " << src << ", which is not in [FILES]";
        }
        for (const std::string& href : AttributeValues(html, "a", "href")) {
            if (href.find(':') == std::string::npos)
                checkReference(topic, href.starts_with("#") ? topic + href : href);
        }
    }
    for (const std::string& file : onDisk) {
        if (file.ends_with(".png")) {
            EXPECT_TRUE(shown.contains(file)) << file << " is shown by no topic";
        }
    }
}

}  // namespace
