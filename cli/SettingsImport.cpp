#include "SettingsImport.h"

#include <algorithm>
#include <climits>
#include <set>

#include "JsonFrame.h"
#include "NearestWord.h"
#include "Utf8.h"
#include "core/SharedTexts.h"

namespace qv::cli {

namespace {

constexpr std::size_t kMaxListedErrors = 100;
// No object of an export comes near this; past it, inserting each key into
// the parsed document would take ever longer.
constexpr std::size_t kMaxMembers = 1000;

struct TooManyMembers {};

// A JSON value as it stood in the input, cut short for messages. Arrays and
// objects are only named: printing one nested deeply would exhaust the stack.
std::string Quoted(const Json& value)
{
    if (value.is_array())
        return "配列";
    if (value.is_object())
        return "オブジェクト";
    return MessageText(value.dump(-1, ' ', false, Json::error_handler_t::replace));
}

std::string UnknownKeyText(const std::string& key)
{
    std::vector<std::string_view> keys;
    for (const SettingDef& def : Settings())
        keys.push_back(def.key);
    std::string text = "知らないキーです";
    if (const auto near = NearestWord(key, keys))
        text += "（" + std::string(*near) + " のことですか？）";
    return text + "。キーは export の出力にあるものです。";
}

// The value of a JSON member as a setting value of the setting's type.
std::optional<SettingValue> AsSettingValue(const SettingDef& def, const Json& value)
{
    if (def.kind != SettingKind::Integer)
        return value.is_string() ? std::optional<SettingValue>(value.get<std::string>()) : std::nullopt;
    // Whole numbers past int stay whole numbers, and out of every range.
    if (value.is_number_unsigned())
        return SettingValue(
            static_cast<int>(std::min<unsigned long long>(value.get<unsigned long long>(), INT_MAX)));
    if (value.is_number_integer())
        return SettingValue(
            static_cast<int>(std::clamp<long long>(value.get<long long>(), INT_MIN, INT_MAX)));
    return std::nullopt;
}

std::string TypeProblem(const SettingDef& def, const Json& value)
{
    if (def.kind == SettingKind::Integer)
        return value.is_string()   ? "文字列です"
               : value.is_number() ? "整数ではありません"
                                   : "数ではありません";
    return "文字列ではありません";
}

}  // namespace

SettingsImport::SettingsImport(const SettingsBlock& base, std::string source)
    : base_(base), start_(LoadAsPanel(base)), source_(std::move(source))
{
}

void SettingsImport::Read(std::string_view text)
{
    if (const auto doc = Parse(text))
        Document(*doc);
}

void SettingsImport::Error(const std::string& text)
{
    if (Listing())
        errors_.push_back(source_ + ": " + text);
    else
        ++unlisted_;
}

bool SettingsImport::Listing() const { return errors_.size() < kMaxListedErrors; }

std::vector<std::string> SettingsImport::Errors() const
{
    std::vector<std::string> all = errors_;
    if (unlisted_)
        all.push_back(source_ + ": ほかに " + std::to_string(unlisted_) + " 件の誤りがあります。");
    return all;
}

SettingsBlock SettingsImport::Result()
{
    start_.values.Store(start_.block);
    return start_.block;
}

// Parses the whole input; a key given twice in one object is an error, not
// a silent choice of one of the values.
std::optional<Json> SettingsImport::Parse(std::string_view text)
{
    std::vector<std::set<std::string>> open;
    auto watch = [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) {
            open.emplace_back();
        } else if (event == Json::parse_event_t::object_end && !open.empty()) {
            open.pop_back();
        } else if (event == Json::parse_event_t::key && !open.empty()) {
            if (open.back().size() == kMaxMembers)
                throw TooManyMembers();
            if (!open.back().insert(parsed.get<std::string>()).second)
                Error("キー \"" + MessageText(parsed.get<std::string>()) + "\" が二度あります。");
        }
        return true;
    };
    try {
        return Json::parse(text.begin(), text.end(), watch);
    } catch (const Json::exception& e) {
        Error("JSON として読めません（" + MessageText(e.what(), 200) + "）。");
    } catch (const TooManyMembers&) {
        Error("一つのオブジェクトの項目が " + std::to_string(kMaxMembers) + " を超えています。");
    }
    return std::nullopt;
}

void SettingsImport::Document(const Json& doc)
{
    if (!doc.is_object()) {
        Error("JSON のオブジェクトではありません。");
        return;
    }
    const auto version = doc.find("version");
    const int v = version != doc.end() && version->is_number_integer() && (*version == 1 || *version == 2)
                      ? version->get<int>()
                      : 0;
    for (const auto& [name, value] : doc.items())
        if (name != "format" && name != "version" && name != "settings" && (name != "frame" || v != 2))
            Error("知らない項目 \"" + MessageText(name) +
                  "\" があります。使える項目: format, version, settings" + (v == 2 ? ", frame" : ""));
    if (!doc.contains("format") || doc["format"] != kSettingsFormat)
        Error("\"format\" が \"" + std::string(kSettingsFormat) + "\" ではありません。");
    if (v == 0)
        Error("\"version\" が 1 でも 2 でもありません。");
    if (!doc.contains("settings") || !doc["settings"].is_object()) {
        Error("\"settings\" のオブジェクトがありません。");
        return;
    }
    // The frame goes in first: a form record's own text then stays unless
    // the document changes one of its values.
    if (v == 2 && doc.contains("frame")) {
        std::vector<std::string> faults;
        SettingsBlock framed = base_;
        FrameFromJson(doc["frame"], framed, faults);
        for (const std::string& fault : faults)
            Error(fault);
        start_ = LoadAsPanel(framed);
    }
    for (const auto& [key, value] : doc["settings"].items())
        Setting(key, value);
    Margins();
}

void SettingsImport::Setting(const std::string& key, const Json& json)
{
    const SettingDef* def = FindSetting(key);
    if (!def) {
        // Past the listed errors only their count is kept: no suggestion to look for.
        Error(Listing() ? MessageText(key) + ": " + UnknownKeyText(key) : std::string());
        return;
    }
    const std::optional<SettingValue> value = AsSettingValue(*def, json);
    const std::string allowed = "使える値: " + AllowedText(*def);
    if (!value) {
        Error(key + ": " + Quoted(json) + " は" + TypeProblem(*def, json) + "。" + allowed);
        return;
    }
    // The base's own value passes even where the form dialog would refuse
    // it: nothing changes for it.
    PanelValues& values = start_.values;
    if (!Accepts(*def, *value) && *value != GetValue(*def, values)) {
        Error(key + ": " + Quoted(json) + " は使えません。" + allowed);
        return;
    }
    if (const auto* form = std::get_if<binding::Form>(&def->binding))
        if ((form->part == FormPart::LeftMargin || form->part == FormPart::RightMargin) &&
            *value != GetValue(*def, values))
            marginForms_.insert(form->form);
    SetValue(*def, values, *value);
}

void SettingsImport::Margins()
{
    for (const int form : marginForms_)
        if (const auto keys = MarginConflict(start_.values, form))
            Error(std::string(keys->first) + " = " + ValueText(*FindSetting(keys->first), start_.values) +
                  ", " + std::string(keys->second) + " = " +
                  ValueText(*FindSetting(keys->second), start_.values) + ": " +
                  std::string(text::kMarginOrder));
}

}  // namespace qv::cli
