#include "MswConversion.h"

#include "FieldLists.h"

namespace qv {

namespace {
using C = SwitchControl;
const std::array<MswBankLayout, 4> kLayouts = {{
    {off::msw1, {C::Country, C::Country, C::Country, C::Radio, C::Radio, C::Radio, C::Radio, C::Radio}},
    {off::msw2, {C::Check, C::Radio, C::Radio, C::Radio, C::Radio, C::Radio, C::Radio, C::Radio}},
    {off::msw3, {C::Cleared, C::Radio, C::Radio, C::Radio, C::Radio, C::Carried, C::Check, C::Radio}},
    {off::msw4, {C::Radio, C::Radio, C::Radio, C::Radio, C::Radio, C::Radio, C::Radio, C::Radio}},
}};
}  // namespace

const MswBankLayout& MswLayout(int bank) { return kLayouts.at(static_cast<std::size_t>(bank - 1)); }

SwitchPlace PlaceOfSwitch(int bank, std::size_t index)
{
    return {MswLayout(bank).offset + index / 4, static_cast<std::uint8_t>(1u << (index % 4))};
}

MswValues::MswValues(int bank)
{
    const auto& layout = MswLayout(bank);
    for (std::size_t i = 0; i < 8; ++i)
        controls[i] = layout.controls[i] == C::Radio ? -1 : 0;
}

void LoadMswValues(int bank, const SettingsBlock& block, MswValues& values)
{
    const auto& layout = MswLayout(bank);
    for (std::size_t i = 0; i < 8; ++i) {
        const SwitchPlace place = PlaceOfSwitch(bank, i);
        values.switches[i] = (block[place.offset] & place.mask) ? 1 : 0;
        if (layout.controls[i] == C::Radio || layout.controls[i] == C::Check)
            values.controls[i] = values.switches[i];
    }
    if (bank == 1) {
        const int n = values.switches[0] + 2 * values.switches[1] + 4 * values.switches[2];
        values.country = std::string(kCountryNames[0]);  // 0, 1, 6 and 7 show as Japan
        for (std::size_t i = 0; i < kCountryCodes.size(); ++i)
            if (kCountryCodes[i] == n)
                values.country = std::string(kCountryNames[i]);
    }
}

void StoreMswValues(int bank, MswValues& values, SettingsBlock& block)
{
    const auto& layout = MswLayout(bank);
    for (std::size_t i = 0; i < 8; ++i) {
        switch (layout.controls[i]) {
        case C::Radio:
        case C::Check: values.switches[i] = values.controls[i] == 1 ? 1 : 0; break;
        case C::Cleared: values.switches[i] = 0; break;
        case C::Carried:
        case C::Country: break;
        }
    }
    if (bank == 1) {
        const int index = IndexOf(kCountryNames, values.country);
        const int n = index < 0 ? 0 : kCountryCodes[static_cast<std::size_t>(index)];
        for (std::size_t i = 0; i < 3; ++i)
            values.switches[i] = (n >> i) & 1;
    }
    block[layout.offset] = block[layout.offset + 1] = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const SwitchPlace place = PlaceOfSwitch(bank, i);
        if (values.switches[i])
            block[place.offset] = static_cast<std::uint8_t>(block[place.offset] | place.mask);
    }
}

}  // namespace qv
