// JSON as the tool writes it: always UTF-8, two-space indents, members in
// the order they were added, each document headed by its format and version.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "ToolEnvironment.h"
#include "core/SettingsCatalogue.h"

namespace qv::cli {

using Json = nlohmann::ordered_json;

// A new document: {"format": format, "version": version}, the rest to add.
Json DocumentHead(std::string_view format, int version);

// A text for Choice and OnOff settings, a number for Integer ones.
Json ToJson(const SettingValue& value);

// Bytes as two upper-case hex digits each, "1C6F".
std::string HexText(const std::vector<std::uint8_t>& bytes);

// The document with a final newline.
std::string JsonText(const Json& document);

// The document on standard output, which then carries UTF-8 unconverted.
void WriteJson(ToolEnvironment& env, const Json& document);

}  // namespace qv::cli
