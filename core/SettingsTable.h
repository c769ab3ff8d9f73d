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

// The index into FormValues::loadPos of a load-position part.
inline std::size_t LoadPathOf(FormPart part)
{
    return static_cast<std::size_t>(part) - static_cast<std::size_t>(FormPart::LoadPosFrontTractor);
}

}  // namespace qv::table
