#include "HelpIndex.h"

#include <algorithm>
#include <optional>
#include <set>

#include "HelpReference.h"
#include "core/SettingsCatalogue.h"

namespace qv::help {

namespace {

// The code points of UTF-8 text; none when it is not UTF-8.
std::optional<std::u32string> Decoded(std::string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80         ? 1
                           : (lead >> 5) == 6  ? 2
                           : (lead >> 4) == 14 ? 3
                           : (lead >> 3) == 30 ? 4
                                               : 0;
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 2)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        out += cp;
        i += length;
    }
    return out;
}

constexpr char32_t kLongVowel = U'ー';

bool IsHiragana(char32_t c) { return c >= U'ぁ' && c <= U'ゖ'; }

// Voiced, half-voiced and small kana as their plain kana.
char32_t PlainKana(char32_t c)
{
    constexpr std::u32string_view marked =
        U"ぁぃぅぇぉがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽっゃゅょゎゔゕゖ";
    constexpr std::u32string_view plain =
        U"あいうえおかきくけこさしすせそたちつてとはひふへほはひふへほつやゆよわうかけ";
    const std::size_t at = marked.find(c);
    return at == std::u32string_view::npos ? c : plain[at];
}

// The vowel a plain kana ends in; the kana itself for ん and anything else.
char32_t VowelOf(char32_t c)
{
    constexpr std::u32string_view rows[] = {U"あかさたなはまやらわ", U"いきしちにひみりゐ",
                                            U"うくすつぬふむゆる", U"えけせてねへめれゑ",
                                            U"おこそとのほもよろを"};
    for (std::u32string_view row : rows)
        if (row.find(c) != std::u32string_view::npos)
            return row.front();
    return c;
}

bool AllowedInReading(char32_t c) { return (c >= 0x20 && c < 0x7F) || IsHiragana(c) || c == kLongVowel; }

// Characters that a sitemap's attribute value cannot hold as they are.
bool HasMarkup(std::string_view text) { return text.find_first_of("\"&<>") != std::string_view::npos; }

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

}  // namespace

IndexList ParseIndexList(std::string_view text)
{
    IndexList list;
    std::set<std::string, std::less<>> keywords;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() != 3 || fields[0].empty() || fields[1].empty() || fields[2].empty()) {
            list.errors.push_back(where + "expected reading<TAB>keyword<TAB>topic.htm[#anchor]");
            continue;
        }
        const auto reading = Decoded(fields[0]);
        if (!reading || !std::ranges::all_of(*reading, AllowedInReading))
            list.errors.push_back(where +
                                  "a reading takes only hiragana, 'ー' and ASCII: " + std::string(fields[0]));
        else if (!Decoded(fields[1]) || HasMarkup(fields[1]) || HasMarkup(fields[2]))
            list.errors.push_back(where + "keyword or target is not UTF-8 or holds \" & < >");
        else if (!keywords.emplace(fields[1]).second)
            list.errors.push_back(where + "the keyword " + std::string(fields[1]) + " is listed twice");
        else
            list.entries.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2])});
    }
    return list;
}

std::u32string SortKey(std::string_view reading)
{
    const std::u32string text = Decoded(reading).value_or(U"");
    std::u32string key;
    for (const char32_t c : text) {
        if (c >= U'A' && c <= U'Z')
            key += c - U'A' + U'a';
        else if (c == kLongVowel && !key.empty())
            key += VowelOf(key.back());
        else
            key += PlainKana(c);
    }
    key += U'\0';
    return key + text;
}

std::vector<IndexEntry> SettingKeyEntries()
{
    std::vector<IndexEntry> entries;
    for (const SettingDef& def : Settings()) {
        const std::string key(def.key);
        entries.push_back({key, key, "reference.htm#" + key});
    }
    return entries;
}

std::string IndexSitemap(std::vector<IndexEntry> entries)
{
    std::ranges::stable_sort(entries, {}, [](const IndexEntry& e) { return SortKey(e.reading); });
    std::string html = "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n"
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
                       "</HEAD><BODY>\n<UL>\n";
    for (const IndexEntry& e : entries)
        html += "\t<LI> <OBJECT type=\"text/sitemap\">\n\t\t<param name=\"Name\" value=\"" +
                HtmlEscaped(e.keyword) + "\">\n\t\t<param name=\"Local\" value=\"" + HtmlEscaped(e.target) +
                "\">\n\t\t</OBJECT>\n";
    html += "</UL>\n</BODY></HTML>\n";
    return html;
}

}  // namespace qv::help
