// The manual's settings reference, made from the settings catalogue: one
// table per page and form dialog with every setting's label, key, allowed
// values and factory value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/SettingsCatalogue.h"

namespace qv::help {

// The row of the page's topic that explains the setting: "select.htm#select.typeface";
// the five forms share the rows of form.htm ("form.htm#form.leftMargin").
std::string ExplainingTopic(const SettingDef& def);

// The tables as HTML (UTF-8), in catalogue order.
std::string ReferenceTables();

// `topic` with everything between the reference:begin comment and the
// reference:end comment replaced by `body`; both comments stay. Empty when
// the topic lacks either marker or has them in the wrong order.
std::optional<std::string> WithReference(std::string_view topic, std::string_view body);

// Text as HTML character data or attribute value.
std::string HtmlEscaped(std::string_view text);

}  // namespace qv::help
