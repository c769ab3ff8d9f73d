// The table behind the settings catalogue, built once. SettingsCatalogue.h
// is its public face; only the catalogue's own code includes this.
#pragma once

#include <string_view>
#include <vector>

#include "SettingsCatalogue.h"

namespace qv::table {

// Every setting in page order.
const std::vector<SettingDef>& All();

// "form2.leftMargin" for form 2's LeftMargin.
std::string_view FormKey(int form, FormPart part);

}  // namespace qv::table
