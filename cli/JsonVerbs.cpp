// export and import: the settings of a file as JSON, and a settings file
// made from JSON, checked against the catalogue before anything is written.
#include <algorithm>
#include <climits>
#include <set>

#include "Files.h"
#include "SettingsJson.h"
#include "Verbs.h"
#include "core/SettingsFile.h"

namespace qv::cli {

namespace {

constexpr std::string_view kFormat = "qvx4k5-settings";
constexpr int kVersion = 1;
constexpr std::size_t kMaxJsonBytes = 1 << 20;

// A JSON value as it stood in the input, cut short for messages. Arrays and
// objects are only named: printing one nested deeply would exhaust the stack.
std::string Quoted(const Json& value)
{
    if (value.is_array())
        return "配列";
    if (value.is_object())
        return "オブジェクト";
    std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (text.size() > 60)
        text = text.substr(0, 57) + "...";
    return text;
}

std::size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string UnknownKeyText(const std::string& key)
{
    const SettingDef* best = nullptr;
    std::size_t bestDistance = 4;  // farther than three edits is no suggestion
    for (const SettingDef& def : Settings()) {
        const std::size_t d = EditDistance(key, def.key);
        if (d < bestDistance) {
            bestDistance = d;
            best = &def;
        }
    }
    std::string text = "知らないキーです";
    if (best)
        text += "（" + std::string(best->key) + " のことですか？）";
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

class SettingsImport {
public:
    SettingsImport(PanelValues values, std::string source)
        : values_(std::move(values)), source_(std::move(source))
    {
    }

    void Error(const std::string& text) { errors_.push_back(source_ + ": " + text); }
    const std::vector<std::string>& Errors() const { return errors_; }
    PanelValues& Values() { return values_; }

    void Document(const Json& doc)
    {
        if (!doc.is_object()) {
            Error("JSON のオブジェクトではありません。");
            return;
        }
        for (const auto& [name, value] : doc.items())
            if (name != "format" && name != "version" && name != "settings")
                Error("知らない項目 \"" + name + "\" があります。使える項目: format, version, settings");
        if (!doc.contains("format") || doc["format"] != kFormat)
            Error("\"format\" が \"" + std::string(kFormat) + "\" ではありません。");
        if (!doc.contains("version") || !doc["version"].is_number_integer() || doc["version"] != kVersion)
            Error("\"version\" が " + std::to_string(kVersion) + " ではありません。");
        if (!doc.contains("settings") || !doc["settings"].is_object()) {
            Error("\"settings\" のオブジェクトがありません。");
            return;
        }
        for (const auto& [key, value] : doc["settings"].items())
            Setting(key, value);
        Margins();
    }

private:
    void Setting(const std::string& key, const Json& json)
    {
        const SettingDef* def = FindSetting(key);
        if (!def) {
            Error(key + ": " + UnknownKeyText(key));
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
        if (!Accepts(*def, *value) && *value != GetValue(*def, values_)) {
            Error(key + ": " + Quoted(json) + " は使えません。" + allowed);
            return;
        }
        if (const auto* form = std::get_if<binding::Form>(&def->binding))
            if ((form->part == FormPart::LeftMargin || form->part == FormPart::RightMargin) &&
                *value != GetValue(*def, values_))
                marginForms_.insert(form->form);
        SetValue(*def, values_, *value);
    }

    void Margins()
    {
        for (const int form : marginForms_)
            if (const auto keys = MarginConflict(values_, form))
                Error(std::string(keys->first) + " = " + ValueText(*FindSetting(keys->first), values_) +
                      ", " + std::string(keys->second) + " = " +
                      ValueText(*FindSetting(keys->second), values_) +
                      ": ライトマージン幅はレフトマージン幅より大きくしてください。");
    }

    PanelValues values_;
    std::string source_;
    std::vector<std::string> errors_;
    std::set<int> marginForms_;
};

// Parses the whole input; a key given twice in one object is an error, not
// a silent choice of one of the values.
std::optional<Json> ParseJson(const std::vector<std::uint8_t>& bytes, SettingsImport& import)
{
    std::vector<std::set<std::string>> open;
    auto watch = [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start)
            open.emplace_back();
        else if (event == Json::parse_event_t::object_end && !open.empty())
            open.pop_back();
        else if (event == Json::parse_event_t::key && !open.empty() &&
                 !open.back().insert(parsed.get<std::string>()).second)
            import.Error("キー \"" + parsed.get<std::string>() + "\" が二度あります。");
        return true;
    };
    try {
        return Json::parse(bytes.begin(), bytes.end(), watch);
    } catch (const Json::exception& e) {
        import.Error(std::string("JSON として読めません（") + e.what() + "）。");
        return std::nullopt;
    }
}

}  // namespace

int Export(const ExportOptions& o, ToolEnvironment& env)
{
    const auto block = LoadSettingsInput(o.file, env);
    if (!block)
        return kExitBadInput;
    const PanelLoad load = LoadAsPanel(*block);
    Json settings = Json::object();
    for (const SettingDef& def : Settings())
        settings[std::string(def.key)] = ToJson(GetValue(def, load.values));
    const Json doc{{"format", kFormat}, {"version", kVersion}, {"settings", settings}};
    if (o.output.empty()) {
        WriteJson(env, doc);
        return kExitDone;
    }
    const std::string text = JsonText(doc);
    const FileWriteResult result = WriteFileReplacing(
        PathFromUtf8(o.output), std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return ReportWrite(result, o.output, " に書き出しました。", env);
}

int Import(const ImportOptions& o, ToolEnvironment& env)
{
    SettingsBlock block = FactoryDefaults;
    if (!o.base.empty()) {
        const auto base = LoadSettingsInput(o.base, env);
        if (!base)
            return kExitBadInput;
        block = *base;
    }
    // Start where the panel would stand after reading the base.
    PanelLoad start = LoadAsPanel(block);
    SettingsImport import(start.values, o.json);

    const FileBytes file = ReadFileBytes(PathFromUtf8(o.json), kMaxJsonBytes + 1);
    if (file.problem)
        import.Error("読み込めません: " + *file.problem + "。");
    else if (file.bytes.size() > kMaxJsonBytes)
        import.Error("大きすぎます（" + std::to_string(kMaxJsonBytes) + " バイトまで）。");
    else if (const auto doc = ParseJson(file.bytes, import))
        import.Document(*doc);

    if (!import.Errors().empty()) {
        for (const std::string& error : import.Errors())
            Complain(env, error);
        Complain(env, "誤りがあるため " + o.output + " には何も書き込んでいません。");
        return kExitBadInput;
    }
    import.Values().Store(start.block);
    return ReportWrite(env.writeSettingsFile(PathFromUtf8(o.output), start.block), o.output,
                       " に書き込みました。", env);
}

}  // namespace qv::cli
