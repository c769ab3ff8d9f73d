#include "SettingsJson.h"

namespace qv::cli {

Json DocumentHead(std::string_view format, int version)
{
    return Json{{"format", format}, {"version", version}};
}

Json ToJson(const SettingValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return std::get<int>(value);
}

std::string HexText(const std::vector<std::uint8_t>& bytes)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t b : bytes) {
        text += kHex[b >> 4];
        text += kHex[b & 0x0F];
    }
    return text;
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
