#include "HelpText.h"

#include <cctype>
#include <algorithm>
#include <cstdint>
#include <set>

#include "core/Utf8.h"

namespace qvhelp {
namespace {

const std::set<std::string, std::less<>> kBlockTags = {
    "address", "blockquote", "body",  "caption", "dd",   "div",   "dl",   "dt",  "h1", "h2",
    "h3",      "h4",         "h5",    "h6",      "head", "hr",    "html", "img", "li", "ol",
    "p",       "pre",        "table", "td",      "th",   "title", "tr",   "ul"};

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Decodes the reference at `s[pos]` ('&'); false when it is none.
bool DecodeReference(std::string_view s, std::size_t& pos, std::string& out)
{
    const std::size_t semi = s.find(';', pos);
    if (semi == std::string_view::npos || semi - pos > 10)
        return false;
    const std::string_view name = s.substr(pos + 1, semi - pos - 1);
    static const std::pair<std::string_view, std::string_view> kNamed[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
    for (const auto& [n, text] : kNamed) {
        if (name == n) {
            out += text;
            pos = semi + 1;
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#')
        return false;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string digits(name.substr(hex ? 2 : 1));
    if (digits.empty() ||
        digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
        return false;
    qv::AppendUtf8(out, static_cast<char32_t>(std::stoul(digits, nullptr, hex ? 16 : 10)));
    pos = semi + 1;
    return true;
}

std::string TagName(std::string_view tag)
{
    std::size_t i = tag.starts_with("</") ? 2 : 1;
    const std::size_t start = i;
    while (i < tag.size() && std::isalnum(static_cast<unsigned char>(tag[i])))
        ++i;
    return Lower(tag.substr(start, i - start));
}

// Position of the next tag `<name` or `</name` (closing) at or after `from`
// whose name is exactly `name`.
std::size_t FindTag(const std::string& lower, const std::string& name, std::size_t from, bool closing)
{
    const std::string open = (closing ? "</" : "<") + name;
    for (std::size_t pos = lower.find(open, from); pos != std::string::npos;
         pos = lower.find(open, pos + 1)) {
        const std::size_t after = pos + open.size();
        if (after >= lower.size() || lower[after] == '>' ||
            std::isspace(static_cast<unsigned char>(lower[after])))
            return pos;
    }
    return std::string::npos;
}

}  // namespace

std::string TopicText(std::string_view html)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < html.size()) {
        if (html.substr(pos).starts_with("<!--")) {
            const std::size_t end = html.find("-->", pos);
            pos = end == std::string_view::npos ? html.size() : end + 3;
        } else if (html[pos] == '<') {
            const std::size_t end = html.find('>', pos);
            if (end == std::string_view::npos)
                break;
            const std::string name = TagName(html.substr(pos, end - pos + 1));
            pos = end + 1;
            if ((name == "script" || name == "style") && html[pos - 2] != '/') {
                const std::size_t close = Lower(html).find("</" + name, pos);
                pos = close == std::string::npos ? html.size() : html.find('>', close) + 1;
            }
            if (kBlockTags.contains(name))
                out += '\n';
        } else if (html[pos] == '&' && DecodeReference(html, pos, out)) {
        } else {
            out += html[pos++];
        }
    }
    return out;
}

std::string Squeezed(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n')
            out += '\x1f';
        else if (c != ' ' && c != '\t' && c != '\r')
            out += c;
    }
    return out;
}

std::vector<std::string> AttributeValues(std::string_view html, std::string_view tag,
                                         std::string_view attribute)
{
    std::vector<std::string> values;
    const std::string lower = Lower(html);
    const std::string open = "<" + Lower(tag);
    const std::string key = Lower(attribute) + "=\"";
    for (std::size_t pos = lower.find(open); pos != std::string::npos; pos = lower.find(open, pos + 1)) {
        const std::size_t after = pos + open.size();
        if (after >= lower.size() || !std::isspace(static_cast<unsigned char>(lower[after])))
            continue;  // "<abbr" is no "<a"
        const std::size_t end = lower.find('>', pos);
        // The attribute must start a word: " src=", not " datasrc=".
        std::size_t at = lower.find(key, pos);
        while (at != std::string::npos && at < end &&
               !std::isspace(static_cast<unsigned char>(lower[at - 1])))
            at = lower.find(key, at + 1);
        if (at == std::string::npos || at > end)
            continue;
        const std::size_t start = at + key.size();
        values.emplace_back(html.substr(start, html.find('"', start) - start));
    }
    return values;
}

std::vector<std::string_view> Elements(std::string_view html, std::string_view tag)
{
    std::vector<std::string_view> elements;
    const std::string lower = Lower(html);
    const std::string name = Lower(tag);
    for (std::size_t pos = FindTag(lower, name, 0, false); pos != std::string::npos;) {
        const std::size_t next = FindTag(lower, name, pos + 1, false);
        const std::size_t close = FindTag(lower, name, pos + 1, true);
        std::size_t end = std::min(next, html.size());
        if (close < next)
            end = std::min(lower.find('>', close), html.size() - 1) + 1;
        elements.push_back(html.substr(pos, end - pos));
        pos = next;
    }
    return elements;
}

}  // namespace qvhelp
