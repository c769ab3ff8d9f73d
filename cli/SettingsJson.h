// JSON as the tool writes it: always UTF-8, two-space indents, members in
// the order they were added.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "ToolEnvironment.h"
#include "core/SettingsCatalogue.h"

namespace qv::cli {

using Json = nlohmann::ordered_json;

// A text for Choice and OnOff settings, a number for Integer ones.
Json ToJson(const SettingValue& value);

// The document with a final newline.
std::string JsonText(const Json& document);

// The document on standard output, which then carries UTF-8 unconverted.
void WriteJson(ToolEnvironment& env, const Json& document);

}  // namespace qv::cli
