#include "SettingsJson.h"

namespace qv::cli {

Json ToJson(const SettingValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return std::get<int>(value);
}

std::string JsonText(const Json& document)
{
    // Invalid UTF-8 (a printer name from a broken driver) is replaced, not thrown.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

void WriteJson(ToolEnvironment& env, const Json& document)
{
    if (env.useUtf8Output)
        env.useUtf8Output();
    env.out << JsonText(document);
}

}  // namespace qv::cli
