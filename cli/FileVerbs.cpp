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
bool InSwitchBank(std::size_t offset)
{
    for (int bank = 1; bank <= 4; ++bank)
        if (offset == MswLayout(bank).offset || offset == MswLayout(bank).offset + 1)
            return true;
    return false;
}

std::string HexByte(std::uint8_t byte) { return BytesText({byte}, true); }

constexpr int kReportVersion = 1;

struct DiffResult {
    std::vector<const SettingDef*> settings;
    std::vector<ByteDifference> bytes;
};

DiffResult Compare(const PanelLoad& a, const PanelLoad& b)
{
    DiffResult result;
    result.settings = DifferingSettings(a.values, b.values);
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
    Json doc = DocumentHead("qvx4k5-diff", kReportVersion);
    doc["files"] = {o.first, o.second};
    doc["settings"] = settings;
    doc["bytes"] = bytes;
    WriteJson(env, doc);
}

void WriteDiffText(const DiffOptions& o, const PanelLoad& a, const PanelLoad& b, const DiffResult& d,
                   ToolEnvironment& env)
{
    std::ostream& out = ReportStream(env);
    if (d.settings.empty() && d.bytes.empty()) {
        out << "違いはありません。\n";
        return;
    }
    std::vector<std::vector<std::string>> rows;
    if (!d.settings.empty())
        rows.push_back({"設定", "キー", InputName(o.first), InputName(o.second)});
    for (const SettingDef* def : d.settings)
        rows.push_back({FullLabel(*def), std::string(def->key),
                        ValueTextWithUnit(*def, GetValue(*def, a.values)),
                        ValueTextWithUnit(*def, GetValue(*def, b.values))});
    WriteTable(out, rows);
    if (d.bytes.empty())
        return;
    out << "設定以外に違うバイト（そのまま送信されます）:\n";
    rows.clear();
    for (const ByteDifference& diff : d.bytes)
        rows.push_back({std::to_string(diff.offset), diff.part, HexByte(diff.a), HexByte(diff.b)});
    WriteTable(out, rows, "  ");
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

const char* KindName(BlockFinding::Kind kind)
{
    switch (kind) {
    case BlockFinding::Repair: return "repair";
    case BlockFinding::Frame: return "frame";
    case BlockFinding::FormValue: return "formValue";
    }
    return "";
}

// What check finds in one file: why it is refused, or its findings.
struct FileCheck {
    std::string name;
    std::optional<std::string> problem;
    std::vector<BlockFinding> findings;
    std::uintmax_t bytesAfter = 0;  // past the 290 the panel reads

    int Code() const
    {
        return problem ? kExitBadInput : findings.empty() && bytesAfter == 0 ? kExitDone : kExitDifferences;
    }
};

FileCheck CheckOne(const std::string& name, ToolEnvironment& env)
{
    const SettingsInput input = ReadSettingsInput(name, env);
    FileCheck check{name, input.problem, {}, 0};
    if (!input.problem) {
        check.findings = CheckBlock(input.block);
        check.bytesAfter = input.size > kSettingsFileSize ? input.size - kSettingsFileSize : 0;
    }
    return check;
}

std::string BytesAfterText(std::uintmax_t count)
{
    return std::to_string(kSettingsFileSize) + " バイトより後ろの " + std::to_string(count) +
           " バイトは読み込まれません。";
}

void WriteCheckText(const FileCheck& c, ToolEnvironment& env)
{
    const std::string name = InputName(c.name);
    if (c.problem) {
        // A refusal is an error, which --quiet keeps.
        (env.quiet ? env.err : env.out) << name << ": " << *c.problem << '\n';
        return;
    }
    std::ostream& out = ReportStream(env);
    for (const BlockFinding& finding : c.findings)
        out << name << ": " << FindingText(finding) << '\n';
    if (c.bytesAfter)
        out << name << ": " << BytesAfterText(c.bytesAfter) << '\n';
    if (c.Code() == kExitDone)
        out << name << ": 問題ありません。\n";
}

Json CheckJson(const FileCheck& c)
{
    Json file{{"file", c.name},
              {"result", c.problem               ? "refused"
                         : c.Code() == kExitDone ? "ok"
                                                 : "findings"}};
    if (c.problem) {
        file["problem"] = *c.problem;
        return file;
    }
    Json findings = Json::array();
    for (const BlockFinding& f : c.findings) {
        Json finding{{"kind", KindName(f.kind)},
                     {"name", f.name},
                     {"offset", f.offset},
                     {"stored", HexText(f.stored)}};
        if (!f.expected.empty())
            finding["expected"] = HexText(f.expected);
        if (!f.value.empty())
            finding["value"] = f.value;
        finding["text"] = FindingText(f);
        findings.push_back(finding);
    }
    file["findings"] = findings;
    file["bytesAfter"] = c.bytesAfter;
    return file;
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
        Json doc = DocumentHead("qvx4k5-show", kReportVersion);
        doc["file"] = file;
        doc["settings"] = settings;
        WriteJson(env, doc);
        return;
    }
    std::vector<std::vector<std::string>> rows;
    std::string_view page;
    for (const SettingDef& def : Settings()) {
        if (def.page != page) {
            page = def.page;
            rows.push_back({std::string("[").append(page).append("]")});
        }
        rows.push_back(
            {FullLabel(def), ValueTextWithUnit(def, GetValue(def, load.values)), std::string(def.key)});
    }
    WriteTable(ReportStream(env), rows, "  ");
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
    Json files = Json::array();
    for (const std::string& name : o.files) {
        const FileCheck check = CheckOne(name, env);
        code = std::max(code, check.Code());
        if (o.json)
            files.push_back(CheckJson(check));
        else
            WriteCheckText(check, env);
    }
    if (o.json) {
        Json doc = DocumentHead("qvx4k5-check", kReportVersion);
        doc["files"] = files;
        WriteJson(env, doc);
    }
    return code;
}

int Factory(const FactoryOptions& o, ToolEnvironment& env)
{
    return WriteSettingsOutput(o.output, FactoryDefaults, " に工場出荷設定を書き込みました。", env);
}

}  // namespace qv::cli
