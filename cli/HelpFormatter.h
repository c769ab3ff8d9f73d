// The tool's help in Japanese with its columns lined up by display width:
// CLI11's own formatter pads by bytes, which leaves every row that holds
// Japanese (a "（必須）" mark) out of line.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace qv::cli {

class HelpFormatter : public CLI::Formatter {
public:
    HelpFormatter();

    std::string make_option(const CLI::Option* option, bool positional) const override;
    std::string make_subcommand(const CLI::App* verb) const override;

    // "使い方: qvx4k5cmd show [オプション] FILE" without a line end.
    std::string UsageLine(const CLI::App& app) const;

private:
    // "  name" padded to the column, then the description; a name as wide
    // as the column puts the description on the next line.
    std::string Row(const std::string& name, const std::string& description) const;
};

}  // namespace qv::cli
