#include "SettingsCatalogue.h"

#include "SettingsTable.h"

namespace qv {

namespace {

template <class Values>  // PanelValues, const or not
auto& Bank(Values& v, int bank)
{
    switch (bank) {
    case 1: return v.msw1;
    case 2: return v.msw2;
    case 3: return v.msw3;
    default: return v.msw4;
    }
}

std::string PairText(const SettingDef& def, int index) { return std::string(def.texts[index == 1 ? 1 : 0]); }

int TextIndex(const SettingDef& def, const SettingValue& value)
{
    const auto* text = std::get_if<std::string>(&value);
    if (!text)
        return -1;
    for (std::size_t i = 0; i < def.texts.size(); ++i)
        if (def.texts[i] == *text)
            return static_cast<int>(i);
    return -1;
}

template <class... F> struct Overload : F... {
    using F::operator()...;
};
template <class... F> Overload(F...) -> Overload<F...>;

}  // namespace

std::span<const SettingDef> Settings() { return table::All(); }

const SettingDef* FindSetting(std::string_view key)
{
    for (const SettingDef& def : table::All())
        if (def.key == key)
            return &def;
    return nullptr;
}

SettingValue GetValue(const SettingDef& def, const PanelValues& v)
{
    return std::visit(
        Overload{
            [&](const binding::SelectText& b) -> SettingValue { return v.select.*b.member; },
            [&](const binding::SelectIndex& b) -> SettingValue { return PairText(def, v.select.*b.member); },
            [&](const binding::ParamText& b) -> SettingValue { return v.param.*b.member; },
            [&](const binding::ParamNumber& b) -> SettingValue {
                const int n = v.param.*b.member;
                return def.kind == SettingKind::OnOff ? SettingValue(PairText(def, n)) : SettingValue(n);
            },
            [&](const binding::LfPitch& b) -> SettingValue { return v.param.lfPitch[b.path]; },
            [&](const binding::Switch& b) -> SettingValue {
                return PairText(def, Bank(v, b.bank).controls[static_cast<std::size_t>(b.index)]);
            },
            [&](const binding::Country&) -> SettingValue { return v.msw1.country; },
            [&](const binding::Form& b) -> SettingValue {
                FormValues parsed = ParseFormRecord(v.forms.recordBuffers[static_cast<std::size_t>(b.form)],
                                                    LayoutOf(b.form));
                return FieldValue(parsed, b.part);
            },
        },
        def.binding);
}

void SetValue(const SettingDef& def, PanelValues& v, const SettingValue& value)
{
    if (GetValue(def, v) == value)
        return;
    const auto* text = std::get_if<std::string>(&value);
    const int number = std::holds_alternative<int>(value) ? std::get<int>(value) : TextIndex(def, value);
    std::visit(Overload{
                   [&](const binding::SelectText& b) { v.select.*b.member = text ? *text : ""; },
                   [&](const binding::SelectIndex& b) { v.select.*b.member = number; },
                   [&](const binding::ParamText& b) { v.param.*b.member = text ? *text : ""; },
                   [&](const binding::ParamNumber& b) { v.param.*b.member = number; },
                   [&](const binding::LfPitch& b) { v.param.lfPitch[b.path] = text ? *text : ""; },
                   [&](const binding::Switch& b) {
                       Bank(v, b.bank).controls[static_cast<std::size_t>(b.index)] = number;
                   },
                   [&](const binding::Country&) { v.msw1.country = text ? *text : ""; },
                   [&](const binding::Form& b) {
                       auto& record = v.forms.recordBuffers[static_cast<std::size_t>(b.form)];
                       FormValues parsed = ParseFormRecord(record, LayoutOf(b.form));
                       FieldValue(parsed, b.part) = number;
                       WriteFormRecord(parsed, LayoutOf(b.form), record);
                   },
               },
               def.binding);
}

bool Accepts(const SettingDef& def, const SettingValue& value)
{
    if (def.kind == SettingKind::Integer) {
        const int* n = std::get_if<int>(&value);
        return n && *n >= def.min && *n <= def.max;
    }
    return TextIndex(def, value) >= 0;
}

std::string ValueText(const SettingValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return std::to_string(std::get<int>(value));
}

std::string ValueTextWithUnit(const SettingDef& def, const SettingValue& value)
{
    std::string text = ValueText(value);
    if (!def.unit.empty())
        text.append(" ").append(def.unit);
    return text;
}

std::string ValueText(const SettingDef& def, const PanelValues& values)
{
    return ValueText(GetValue(def, values));
}

SettingValue FactoryValue(const SettingDef& def)
{
    static const PanelValues factory = StartupPanelValues();
    return GetValue(def, factory);
}

std::string AllowedText(const SettingDef& def)
{
    if (def.kind == SettingKind::Integer)
        return std::to_string(def.min) + " から " + std::to_string(def.max) + " までの整数";
    std::string text;
    for (std::string_view entry : def.texts) {
        text += text.empty() ? "\"" : ", \"";
        text += entry;
        text += "\"";
    }
    return text + " のいずれか";
}

std::string FullLabel(const SettingDef& def)
{
    std::string text;
    for (std::string_view part : {def.group, def.label, def.switchName}) {
        if (part.empty())
            continue;
        if (!text.empty())
            text += ' ';
        text += part;
    }
    return text;
}

std::vector<const SettingDef*> DifferingSettings(const PanelValues& a, const PanelValues& b)
{
    std::vector<const SettingDef*> differing;
    for (const SettingDef& def : table::All())
        if (GetValue(def, a) != GetValue(def, b))
            differing.push_back(&def);
    return differing;
}

std::optional<std::pair<std::string_view, std::string_view>> MarginConflict(const PanelValues& values,
                                                                            int form)
{
    if (form < 1 || form > 4)
        return std::nullopt;
    const FormValues parsed =
        ParseFormRecord(values.forms.recordBuffers[static_cast<std::size_t>(form)], FormLayout::Long);
    if (parsed.leftMargin < parsed.rightMargin)
        return std::nullopt;
    return std::pair{table::FormKey(form, FormPart::LeftMargin), table::FormKey(form, FormPart::RightMargin)};
}

}  // namespace qv
