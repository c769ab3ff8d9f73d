// show, diff, check and factory: settings files as the panel reads them.
#include <algorithm>

#include "Files.h"
#include "SettingsJson.h"
#include "TextTable.h"
#include "Verbs.h"
#include "core/SettingsCheck.h"
#include "core/SettingsFile.h"

namespace qv::cli {

namespace {

// The value as the panel shows it, with its unit.
std::string Shown(const SettingDef& def, const SettingValue& value)
{
    std::string text = ValueText(value);
    if (!def.unit.empty())
        text.append(" ").append(def.unit);
    return text;
}

bool InSwitchBank(std::size_t offset)
{
    for (int bank = 1; bank <= 4; ++bank)
        if (offset == MswLayout(bank).offset || offset == MswLayout(bank).offset + 1)
            return true;
    return false;
}

std::string HexByte(std::uint8_t byte) { return BytesText({byte}, true); }

struct DiffResult {
    std::vector<const SettingDef*> settings;
    std::vector<ByteDifference> bytes;
};

DiffResult Compare(const PanelLoad& a, const PanelLoad& b)
{
    DiffResult result;
    for (const SettingDef& def : Settings())
        if (GetValue(def, a.values) != GetValue(def, b.values))
            result.settings.push_back(&def);
    // Bytes the panel sends as they are (frame, a switch without control,
    // unparsed record text) can differ under equal settings.
    result.bytes = DifferencesOutside(a.block, b.block, result.settings);
    return result;
}

void WriteDiffJson(const DiffOptions& o, const PanelLoad& a, const PanelLoad& b, const DiffResult& d,
                   ToolEnvironment& env)
{
    Json settings = Json::array();
    for (const SettingDef* def : d.settings)
        settings.push_back(
            {{"key", def->key},
             {"page", def->page},
             {"label", FullLabel(*def)},
             {"values", {ToJson(GetValue(*def, a.values)), ToJson(GetValue(*def, b.values))}}});
    Json bytes = Json::array();
    for (const ByteDifference& diff : d.bytes)
        bytes.push_back({{"offset", diff.offset}, {"part", diff.part}, {"values", {diff.a, diff.b}}});
    WriteJson(env, Json{{"files", {o.first, o.second}}, {"settings", settings}, {"bytes", bytes}});
}

void WriteDiffText(const DiffOptions& o, const PanelLoad& a, const PanelLoad& b, const DiffResult& d,
                   ToolEnvironment& env)
{
    if (d.settings.empty() && d.bytes.empty()) {
        env.out << "違いはありません。\n";
        return;
    }
    std::vector<std::vector<std::string>> rows;
    if (!d.settings.empty())
        rows.push_back({"設定", "キー", o.first, o.second});
    for (const SettingDef* def : d.settings)
        rows.push_back({FullLabel(*def), std::string(def->key), Shown(*def, GetValue(*def, a.values)),
                        Shown(*def, GetValue(*def, b.values))});
    WriteTable(env.out, rows);
    if (d.bytes.empty())
        return;
    env.out << "設定以外に違うバイト（そのまま送信されます）:\n";
    rows.clear();
    for (const ByteDifference& diff : d.bytes)
        rows.push_back({std::to_string(diff.offset), diff.part, HexByte(diff.a), HexByte(diff.b)});
    WriteTable(env.out, rows, "  ");
}

std::string FindingText(const BlockFinding& f)
{
    const SettingDef* def = FindSetting(f.name);
    const std::string what =
        def ? f.name + "（" + FullLabel(*def) + "）" : f.name + "（バイト " + std::to_string(f.offset) + "）";
    const bool raw = InSwitchBank(f.offset);
    switch (f.kind) {
    case BlockFinding::Repair:
        return "読み込みで直される設定: " + what + " 保存値 " + BytesText(f.stored, raw) + "、送信される値 " +
               BytesText(f.expected, raw) + (f.value.empty() ? "" : "（表示 " + f.value + "）");
    case BlockFinding::Frame:
        return "工場出荷時と違う枠のバイト: " + std::to_string(f.offset) + " " + f.name + " 保存値 " +
               BytesText(f.stored, true) + "、工場出荷時 " + BytesText(f.expected, true) +
               "（このまま送信されます）";
    case BlockFinding::FormValue:
        return "書式の設定では受け付けない値: " + what + " 保存値 " + BytesText(f.stored) + "（表示 " +
               f.value + "、このまま送信されます）";
    }
    return "";
}

int CheckOne(const std::string& name, ToolEnvironment& env)
{
    const SettingsInput input = ReadSettingsInput(name, env);
    if (input.problem) {
        env.out << name << ": " << *input.problem << '\n';
        return kExitBadInput;
    }
    std::vector<std::string> lines;
    for (const BlockFinding& finding : CheckBlock(input.block))
        lines.push_back(FindingText(finding));
    if (input.size > kSettingsFileSize)
        lines.push_back(std::to_string(kSettingsFileSize) + " バイトより後ろの " +
                        std::to_string(input.size - kSettingsFileSize) + " バイトは読み込まれません。");
    if (lines.empty())
        env.out << name << ": 問題ありません。\n";
    for (const std::string& line : lines)
        env.out << name << ": " << line << '\n';
    return lines.empty() ? kExitDone : kExitDifferences;
}

}  // namespace

int Show(const ShowOptions& o, ToolEnvironment& env)
{
    const auto block = LoadSettingsInput(o.file, env);
    if (!block)
        return kExitBadInput;
    ShowSettings(*block, o.file, o.json, env);
    return kExitDone;
}

void ShowSettings(const SettingsBlock& stored, const Json& file, bool json, ToolEnvironment& env)
{
    const PanelLoad load = LoadAsPanel(stored);
    if (json) {
        Json settings = Json::array();
        for (const SettingDef& def : Settings())
            settings.push_back({{"key", def.key},
                                {"page", def.page},
                                {"label", FullLabel(def)},
                                {"value", ToJson(GetValue(def, load.values))},
                                {"unit", def.unit}});
        WriteJson(env, Json{{"file", file}, {"settings", settings}});
        return;
    }
    std::vector<std::vector<std::string>> rows;
    std::string_view page;
    for (const SettingDef& def : Settings()) {
        if (def.page != page) {
            page = def.page;
            rows.push_back({std::string("[").append(page).append("]")});
        }
        rows.push_back({FullLabel(def), Shown(def, GetValue(def, load.values)), std::string(def.key)});
    }
    WriteTable(env.out, rows, "  ");
}

int Diff(const DiffOptions& o, ToolEnvironment& env)
{
    const auto first = LoadSettingsInput(o.first, env);
    const auto second = LoadSettingsInput(o.second, env);
    if (!first || !second)
        return kExitBadInput;
    const PanelLoad a = LoadAsPanel(*first), b = LoadAsPanel(*second);
    const DiffResult d = Compare(a, b);
    if (o.json)
        WriteDiffJson(o, a, b, d, env);
    else
        WriteDiffText(o, a, b, d, env);
    return d.settings.empty() && d.bytes.empty() ? kExitDone : kExitDifferences;
}

int Check(const CheckOptions& o, ToolEnvironment& env)
{
    int code = kExitDone;
    for (const std::string& name : o.files)
        code = std::max(code, CheckOne(name, env));
    return code;
}

int Factory(const FactoryOptions& o, ToolEnvironment& env)
{
    return ReportWrite(env.writeSettingsFile(PathFromUtf8(o.output), FactoryDefaults), o.output,
                       " に工場出荷設定を書き込みました。", env);
}

}  // namespace qv::cli
