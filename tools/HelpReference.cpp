#include "HelpReference.h"

#include "core/SettingsCatalogue.h"

namespace qv::help {

namespace {

constexpr std::string_view kBeginMarker = "<!-- reference:begin";
constexpr std::string_view kEndMarker = "<!-- reference:end";

// "select" of "select.typeface", "form1" of "form1.leftMargin".
std::string_view Section(const SettingDef& def) { return def.key.substr(0, def.key.find('.')); }

std::string WithUnit(std::string_view value, std::string_view unit)
{
    std::string text(value);
    if (!unit.empty())
        text.append(" ").append(unit);
    return text;
}

std::string AllowedValues(const SettingDef& def)
{
    if (def.kind == SettingKind::Integer)
        return WithUnit(std::to_string(def.min) + "～" + std::to_string(def.max), def.unit);
    std::string list;
    for (std::string_view text : def.texts) {
        if (!list.empty())
            list += "、";
        list += text;
    }
    return def.unit.empty() ? list : list + "（単位 " + std::string(def.unit) + "）";
}

// Each row is the target of its key's index entry, and its label links to
// the row that explains the setting in the page's own topic.
std::string Row(const SettingDef& def)
{
    const std::string key = HtmlEscaped(def.key);
    return "<tr id=\"" + key + "\"><td class=\"label\"><a href=\"" + HtmlEscaped(ExplainingTopic(def)) +
           "\">" + HtmlEscaped(FullLabel(def)) + "</a></td><td><code>" + key + "</code></td><td>" +
           HtmlEscaped(AllowedValues(def)) + "</td><td>" +
           HtmlEscaped(WithUnit(ValueText(FactoryValue(def)), def.unit)) + "</td></tr>\n";
}

}  // namespace

std::string ExplainingTopic(const SettingDef& def)
{
    const std::string_view section = Section(def);
    if (section.starts_with("form"))
        return "form.htm#form." + std::string(def.key.substr(section.size() + 1));
    return std::string(section) + ".htm#" + std::string(def.key);
}

std::string ReferenceTables()
{
    std::string html;
    std::string_view section;
    for (const SettingDef& def : Settings()) {
        if (Section(def) != section) {
            if (!section.empty())
                html += "</table>\n";
            section = Section(def);
            html += "<h2 id=\"" + HtmlEscaped(section) + "\">" + HtmlEscaped(def.page) + "</h2>\n";
            html += "<table>\n<tr><th>項目</th><th>キー</th><th>選べる値</th><th>工場出荷値</th></tr>\n";
        }
        html += Row(def);
    }
    if (!section.empty())
        html += "</table>\n";
    return html;
}

std::optional<std::string> WithReference(std::string_view topic, std::string_view body)
{
    const std::size_t begin = topic.find(kBeginMarker);
    if (begin == std::string_view::npos)
        return std::nullopt;
    const std::size_t beginEnd = topic.find("-->", begin);
    const std::size_t end = topic.find(kEndMarker, begin);
    if (beginEnd == std::string_view::npos || end == std::string_view::npos || end < beginEnd)
        return std::nullopt;
    std::string page(topic.substr(0, beginEnd + 3));
    page += '\n';
    page += body;
    page += topic.substr(end);
    return page;
}

std::string HtmlEscaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace qv::help
