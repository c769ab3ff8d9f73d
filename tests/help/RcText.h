// The texts that a resource script and the program's sources show the
// operator, read as plain text: the labels of a dialog template, the items
// of a menu, the string table, and the wide string literals of the code.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qvhelp {

// A text as written in the script (escapes decoded, access keys kept).
struct ShownText {
    std::string text;
    int line = 0;  // 1-based line of the statement in its file
};

// The caption and the texts of the visible controls of dialog template
// `name`, in template order. Empty when there is no such template.
std::vector<ShownText> DialogTexts(std::string_view rc, std::string_view name);

// A statement of a dialog template: its caption (statement "CAPTION") and
// each control statement, in template order.
struct DialogControl {
    std::string statement;  // LTEXT, GROUPBOX, COMBOBOX, CONTROL, ...
    std::string text;       // its quoted text, "" when none
    std::string id;         // as written: IDC_PARAM_FONT1
    bool visible = true;
    int line = 0;
};
std::vector<DialogControl> DialogControls(std::string_view rc, std::string_view name);

// The #define lines of a header: name -> value as written.
using Defines = std::map<std::string, std::string, std::less<>>;
Defines ReadDefines(std::string_view header);

struct MenuCommand {
    std::string text;         // the item text before its tab
    std::string accelerator;  // the text after the tab, "" when none
    int line = 0;
};

// The popups and items of menu `name`, in order; separators left out.
std::vector<MenuCommand> MenuCommands(std::string_view rc, std::string_view name);

// Every text of every STRINGTABLE block. An entry may join quoted strings
// and names of string macros, which `macros` (from ReadDefines) resolves.
std::vector<ShownText> StringTableTexts(std::string_view rc, const Defines& macros = {});

// The wide string literals of C++ source that hold a non-ASCII character,
// adjacent literals joined as the compiler joins them.
std::vector<ShownText> JapaneseWideLiterals(std::string_view source);

// The text as the operator reads it: access keys ("(&X)", "（&X）", "&")
// dropped, "&&" kept as one "&", line breaks and a trailing "..." dropped.
std::string PlainLabel(std::string_view text);

}  // namespace qvhelp
