#include "RcText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>

namespace qvhelp {
namespace {

// Control statements whose first argument is the text they show.
const std::set<std::string, std::less<>> kTextStatements = {
    "CONTROL",       "LTEXT",       "CTEXT",           "RTEXT",    "GROUPBOX", "PUSHBUTTON",   "PUSHBOX",
    "DEFPUSHBUTTON", "RADIOBUTTON", "AUTORADIOBUTTON", "CHECKBOX", "STATE3",   "AUTOCHECKBOX", "AUTO3STATE"};
// Every statement keyword that may start a line inside a dialog's BEGIN/END.
const std::set<std::string, std::less<>> kOtherStatements = {"EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR",
                                                             "ICON"};

struct Line {
    std::string_view text;
    int number;
};

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    int number = 1;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back({line, number++});
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::string_view FirstWord(std::string_view line)
{
    line = Trim(line);
    std::size_t end = 0;
    while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])) && line[end] != ',')
        ++end;
    return line.substr(0, end);
}

bool IsComment(std::string_view line) { return Trim(line).starts_with("//"); }

// Reads the quoted string that starts at `s[pos]` (the opening quote) with
// the escapes of resource scripts and C++: "" and \" for a quote, \n, \t,
// \\. Sets `pos` past the closing quote.
std::string ReadQuoted(std::string_view s, std::size_t& pos)
{
    std::string out;
    ++pos;
    while (pos < s.size()) {
        const char c = s[pos++];
        if (c == '"') {
            if (pos < s.size() && s[pos] == '"') {
                out += '"';
                ++pos;
                continue;
            }
            break;
        }
        if (c == '\\' && pos < s.size()) {
            const char e = s[pos++];
            out += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
            continue;
        }
        out += c;
    }
    return out;
}

// The first quoted string of a statement, if it comes before any comma.
bool FirstArgumentText(std::string_view statement, std::string& text)
{
    const std::size_t quote = statement.find('"');
    const std::size_t comma = statement.find(',');
    if (quote == std::string_view::npos || (comma != std::string_view::npos && comma < quote))
        return false;
    std::size_t pos = quote;
    text = ReadQuoted(statement, pos);
    return true;
}

// Index of the line that opens resource `name` of a kind starting with
// `kind` ("DIALOG" matches DIALOGEX too), or lines.size().
std::size_t FindResource(const std::vector<Line>& lines, std::string_view name, std::string_view kind)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view rest = Trim(lines[i].text);
        if (FirstWord(rest) != name)
            continue;
        rest = Trim(rest.substr(name.size()));
        if (FirstWord(rest).starts_with(kind))
            return i;
    }
    return lines.size();
}

DialogControl ParseControl(const std::string& statement, int line)
{
    DialogControl c{std::string(FirstWord(statement)), "", ""};
    c.visible = statement.find("NOT WS_VISIBLE") == std::string::npos;
    c.line = line;
    std::string rest = statement.substr(statement.find(c.statement) + c.statement.size());
    // Text statements and ICON name their text or icon before the id (only a
    // text may hold a comma).
    const std::size_t id = kTextStatements.contains(c.statement) || c.statement == "ICON" ? 1 : 0;
    if (std::size_t pos = rest.find('"'); id == 1 && pos < rest.find(',')) {
        c.text = ReadQuoted(rest, pos);
        rest.erase(0, pos);
    }
    std::vector<std::string> args;
    std::istringstream in(rest);
    for (std::string arg; std::getline(in, arg, ',');)
        args.emplace_back(Trim(arg));
    c.id = args.size() > id ? args[id] : "";
    return c;
}

// The quoted strings of an expression joined, each name of a string macro
// replaced by its text.
std::string JoinedText(const std::string& expr, const Defines& macros)
{
    static const std::regex token(R"("(?:[^"\\]|\\.|"")*"|[A-Za-z_]\w*)");
    std::string text;
    for (std::sregex_iterator it(expr.begin(), expr.end(), token), end; it != end; ++it) {
        std::size_t pos = 0;
        const auto macro = macros.find(it->str());
        if (it->str()[0] == '"')
            text += ReadQuoted(it->str(), pos);
        else if (macro != macros.end())
            text += JoinedText(macro->second, macros);
    }
    return text;
}

}  // namespace

std::vector<DialogControl> DialogControls(std::string_view rc, std::string_view name)
{
    const std::vector<Line> lines = SplitLines(rc);
    std::size_t i = FindResource(lines, name, "DIALOG");
    std::vector<DialogControl> controls;
    if (i == lines.size())
        return controls;
    for (++i; i < lines.size() && FirstWord(lines[i].text) != "BEGIN"; ++i) {
        std::string caption;
        if (FirstWord(lines[i].text) == "CAPTION" && FirstArgumentText(lines[i].text, caption))
            controls.push_back({"CAPTION", caption, "", true, lines[i].number});
    }
    // Statements may run over several lines: gather each up to the next one.
    std::string statement;
    int statementLine = 0;
    auto finish = [&] {
        if (!statement.empty())
            controls.push_back(ParseControl(statement, statementLine));
        statement.clear();
    };
    for (++i; i < lines.size(); ++i) {
        if (IsComment(lines[i].text))
            continue;
        const std::string_view word = FirstWord(lines[i].text);
        if (word == "END")
            break;
        if (kTextStatements.contains(word) || kOtherStatements.contains(word)) {
            finish();
            statementLine = lines[i].number;
        }
        statement += ' ';
        statement += lines[i].text;
    }
    finish();
    return controls;
}

std::vector<ShownText> DialogTexts(std::string_view rc, std::string_view name)
{
    std::vector<ShownText> texts;
    for (const DialogControl& c : DialogControls(rc, name))
        if (c.visible && (c.statement == "CAPTION" || kTextStatements.contains(c.statement)) &&
            !Trim(c.text).empty())
            texts.push_back({c.text, c.line});
    return texts;
}

Defines ReadDefines(std::string_view header)
{
    static const std::regex define(R"(^[ \t]*#define[ \t]+(\w+)[ \t]*(.*)$)", std::regex::multiline);
    const std::string joined = std::regex_replace(std::string(header), std::regex(R"(\\\r?\n)"), " ");
    Defines defines;
    for (std::sregex_iterator it(joined.begin(), joined.end(), define), end; it != end; ++it)
        defines.emplace((*it)[1], Trim((*it)[2].str()));
    return defines;
}

std::vector<MenuCommand> MenuCommands(std::string_view rc, std::string_view name)
{
    const std::vector<Line> lines = SplitLines(rc);
    std::vector<MenuCommand> commands;
    int depth = 0;
    for (std::size_t i = FindResource(lines, name, "MENU"); i < lines.size(); ++i) {
        const std::string_view word = FirstWord(lines[i].text);
        if (word == "BEGIN") {
            ++depth;
        } else if (word == "END") {
            if (--depth == 0)
                break;
        } else if (word == "POPUP" || word == "MENUITEM") {
            std::string text;
            if (!FirstArgumentText(lines[i].text, text))
                continue;  // MENUITEM SEPARATOR
            const std::size_t tab = text.find('\t');
            MenuCommand command{text.substr(0, tab), "", lines[i].number};
            if (tab != std::string::npos)
                command.accelerator = text.substr(tab + 1);
            commands.push_back(command);
        }
    }
    return commands;
}

std::vector<ShownText> StringTableTexts(std::string_view rc, const Defines& macros)
{
    const std::vector<Line> lines = SplitLines(rc);
    std::vector<ShownText> texts;
    bool inTable = false;
    for (const Line& line : lines) {
        const std::string_view word = FirstWord(line.text);
        if (word == "STRINGTABLE") {
            inTable = true;
        } else if (inTable && word == "END") {
            inTable = false;
        } else if (inTable && word != "BEGIN" && !IsComment(line.text)) {
            // An entry whose macros are unknown comes out empty.
            const std::string_view entry = Trim(line.text);
            if (entry.size() > word.size())
                texts.push_back({JoinedText(std::string(entry.substr(word.size())), macros), line.number});
        }
    }
    return texts;
}

std::vector<ShownText> JapaneseWideLiterals(std::string_view src)
{
    std::vector<ShownText> texts;
    int line = 1;
    std::size_t pos = 0;
    auto skipSpaceAndComments = [&] {
        for (;;) {
            if (pos < src.size() && std::isspace(static_cast<unsigned char>(src[pos]))) {
                line += src[pos++] == '\n';
            } else if (src.substr(pos).starts_with("//")) {
                pos = std::min(src.find('\n', pos), src.size());
            } else if (src.substr(pos).starts_with("/*")) {
                const std::size_t end = std::min(src.find("*/", pos + 2), src.size());
                line += static_cast<int>(std::count(src.begin() + pos, src.begin() + end, '\n'));
                pos = std::min(end + 2, src.size());
            } else {
                return;
            }
        }
    };
    auto isWideStart = [&](std::size_t at) {
        return src.substr(at).starts_with("L\"") &&
               (at == 0 || !(std::isalnum(static_cast<unsigned char>(src[at - 1])) || src[at - 1] == '_'));
    };
    while (pos < src.size()) {
        const std::size_t before = pos;
        skipSpaceAndComments();
        if (pos != before)
            continue;
        if (isWideStart(pos)) {
            ShownText literal{"", line};
            // Adjacent literals are one string to the compiler.
            while (pos < src.size() && isWideStart(pos)) {
                ++pos;
                const std::size_t start = pos;
                literal.text += ReadQuoted(src, pos);
                line += static_cast<int>(std::count(src.begin() + start, src.begin() + pos, '\n'));
                skipSpaceAndComments();
            }
            if (std::any_of(literal.text.begin(), literal.text.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
                texts.push_back(literal);
        } else if (src[pos] == '"') {
            ReadQuoted(src, pos);
        } else if (src[pos] == '\'') {
            // A character literal, so that '"' does not open a string.
            pos =
                std::min(src.find('\'', pos + (src.substr(pos).starts_with("'\\") ? 3 : 2)), src.size()) + 1;
        } else {
            ++pos;
        }
    }
    return texts;
}

std::string PlainLabel(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::string_view rest = text.substr(i);
        if (rest.size() >= 4 && rest[0] == '(' && rest[1] == '&' && rest[3] == ')') {
            i += 4;  // "(&X)"
        } else if (rest.starts_with("（&") && rest.size() >= 8 && rest.substr(5).starts_with("）")) {
            i += 8;  // "（&X）"
        } else if (rest.starts_with("&&")) {
            out += '&';
            i += 2;
        } else if (rest[0] == '&' || rest[0] == '\n' || rest[0] == '\r') {
            ++i;
        } else {
            out += rest[0];
            ++i;
        }
    }
    std::string_view trimmed = Trim(out);
    if (trimmed.ends_with("..."))
        trimmed.remove_suffix(3);
    return std::string(Trim(trimmed));
}

}  // namespace qvhelp
