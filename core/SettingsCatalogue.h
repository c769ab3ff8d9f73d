// The settings catalogue: every setting the panel shows, named once with a
// stable key, the page and label the panel shows it under, the values it
// takes, and where it lives in the panel's value model. Tools that list,
// compare, export or import settings read this table and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "FormRecord.h"
#include "PanelValues.h"

namespace qv {

enum class SettingKind {
    Choice,   // one text of a fixed list (drop-down list)
    Integer,  // a whole number within min..max (edit box)
    OnOff,    // one of two texts (radio pair or check box: off first)
};

// Where a setting's value lives in PanelValues.
namespace binding {
struct SelectText {
    std::string SelectValues::*member;
};
struct SelectIndex {  // radio index
    int SelectValues::*member;
};
struct ParamText {
    std::string ParamValues::*member;
};
struct ParamNumber {  // a number, or a radio index
    int ParamValues::*member;
};
struct LfPitch {
    LfPitchPath path;
};
struct Switch {  // radio index or check state of MSW<bank>-<index + 1>
    int bank;
    int index;
};
struct Country {};  // MSW1-1/2/3
struct Form {
    int form;  // 0 to 4
    FormPart part;
};
}  // namespace binding

using SettingBinding =
    std::variant<binding::SelectText, binding::SelectIndex, binding::ParamText, binding::ParamNumber,
                 binding::LfPitch, binding::Switch, binding::Country, binding::Form>;

// Bytes of the block that hold a setting; for memory switches only the bits
// of `mask` in a single byte.
struct BlockSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::uint8_t mask = 0xFF;
};

struct SettingDef {
    std::string_view key;         // stable, lower camelCase, dotted by page: "param.font1"
    std::string_view page;        // tab caption, or for a form the form dialog's title
    std::string_view group;       // group box around the control; empty when none
    std::string_view label;       // the control's text without its access key, on one line
    std::string_view switchName;  // "（MSW1-4）" beside a switch group; empty elsewhere
    std::string_view unit;        // shown after the value ("桁", "秒"); may be empty
    SettingKind kind;
    std::span<const std::string_view> texts;  // Choice: the list; OnOff: off, on
    int min = 0, max = 0;                     // Integer: the accepted range
    SettingBinding binding;
    BlockSpan span;
};

// A value as the panel shows it: a text for Choice and OnOff, a number for
// Integer.
using SettingValue = std::variant<std::string, int>;

// Every setting, in page order: function select with its five forms,
// parameters, MSW1 to MSW4; within a page in the order of its controls.
std::span<const SettingDef> Settings();

// The setting with this key, or nullptr.
const SettingDef* FindSetting(std::string_view key);

// The setting's value in `values`, as the panel shows it.
SettingValue GetValue(const SettingDef& setting, const PanelValues& values);

// Puts an accepted value (see Accepts) into `values`; it reaches the block
// at the next Store. A value equal to the current one changes nothing, so
// an unchanged form field keeps its record bytes as they are.
void SetValue(const SettingDef& setting, PanelValues& values, const SettingValue& value);

// True when the value has the setting's type and lies in its list or range.
bool Accepts(const SettingDef& setting, const SettingValue& value);

// The value as text: a list text, or the number in decimal.
std::string ValueText(const SettingValue& value);

// The value as text with the setting's unit after it: "55 桁".
std::string ValueTextWithUnit(const SettingDef& setting, const SettingValue& value);

// The setting's value as the panel shows it, as text.
std::string ValueText(const SettingDef& setting, const PanelValues& values);

// The value a freshly started panel shows (the factory settings).
SettingValue FactoryValue(const SettingDef& setting);

// What the setting accepts, for messages: the list texts, or the range.
std::string AllowedText(const SettingDef& setting);

// The label with its group and switch name, as one line for listings:
// "ＬＦピッチ補正 シートガイド", "データ受信方法の変更 （MSW1-4）".
std::string FullLabel(const SettingDef& setting);

// The settings whose values differ between `a` and `b`, in catalogue order.
// Bytes that no setting shows (the frame, record text) are not compared.
std::vector<const SettingDef*> DifferingSettings(const PanelValues& a, const PanelValues& b);

// Forms 1 to 4 need the left margin below the right one. Empty when form
// `form` of `values` is in order, else the two keys that break the rule.
std::optional<std::pair<std::string_view, std::string_view>> MarginConflict(const PanelValues& values,
                                                                            int form);

}  // namespace qv
