// export and import: the settings of a file as JSON, and a settings file
// made from JSON, checked against the catalogue before anything is written.
#include "Files.h"
#include "JsonFrame.h"
#include "SettingsImport.h"
#include "TextInput.h"
#include "Verbs.h"
#include "core/SettingsFile.h"

namespace qv::cli {

namespace {

constexpr std::size_t kMaxJsonBytes = 1 << 20;

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
    Json doc = DocumentHead(kSettingsFormat, kSettingsVersion);
    doc["settings"] = settings;
    doc["frame"] = FrameToJson(load);
    return WriteTextOutput(o.output, JsonText(doc), " に書き出しました。", env);
}

int Import(const ImportOptions& o, ToolEnvironment& env)
{
    SettingsBlock base = FactoryDefaults;
    if (!o.base.empty()) {
        const auto block = LoadSettingsInput(o.base, env);
        if (!block)
            return kExitBadInput;
        base = *block;
    }
    SettingsImport import(base, InputName(o.json));
    const FileBytes file = ReadInput(o.json, kMaxJsonBytes + 1, env);
    std::string problem;
    if (file.problem) {
        import.Error("読み込めません。" + *file.problem);
    } else if (file.bytes.size() > kMaxJsonBytes) {
        import.Error("大きすぎます（" + std::to_string(kMaxJsonBytes) + " バイトまで）。");
    } else if (const auto text = DecodeTextInput(
                   std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()),
                   problem)) {
        import.Read(*text);
    } else {
        import.Error(problem);
    }
    if (import.Failed()) {
        for (const std::string& error : import.Errors())
            Complain(env, error);
        Complain(env, "誤りがあるため " + (o.output == "-" ? std::string("標準出力") : o.output) +
                          " には何も書き込んでいません。");
        return kExitBadInput;
    }
    return WriteSettingsOutput(o.output, import.Result(), " に書き込みました。", env);
}

}  // namespace qv::cli
