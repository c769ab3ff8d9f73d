#include "HelpFormatter.h"

#include "Utf8.h"

namespace qv::cli {

HelpFormatter::HelpFormatter()
{
    label("Usage", "使い方");
    label("OPTIONS", "オプション");
    label("SUBCOMMAND", "コマンド");
    label("SUBCOMMANDS", "コマンド");
    label("Positionals", "引数");
    label("REQUIRED", "（必須）");
    label("Excludes", "同時に使えない:");
    label("Needs", "必要:");
    column_width(34);
}

std::string HelpFormatter::make_option(const CLI::Option* option, bool positional) const
{
    return Row(make_option_name(option, positional) + make_option_opts(option), make_option_desc(option));
}

std::string HelpFormatter::make_subcommand(const CLI::App* verb) const
{
    return Row(verb->get_display_name(true), verb->get_description());
}

std::string HelpFormatter::UsageLine(const CLI::App& app) const
{
    std::string name = app.get_name();
    for (const CLI::App* parent = app.get_parent(); parent; parent = parent->get_parent())
        name = parent->get_name() + " " + name;
    std::string line = make_usage(&app, name);
    line.erase(line.find_last_not_of('\n') + 1);
    return line;
}

std::string HelpFormatter::Row(const std::string& name, const std::string& description) const
{
    const std::string indent(column_width_, ' ');
    std::string row = "  " + name;
    if (!description.empty()) {
        const std::size_t width = DisplayWidth(row);
        row += width < column_width_ ? std::string(column_width_ - width, ' ') : "\n" + indent;
        for (const char c : description) {
            row += c;
            if (c == '\n')
                row += indent;
        }
    }
    return row + "\n";
}

}  // namespace qv::cli
