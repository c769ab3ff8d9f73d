// Command lines the tool cannot run, answered in Japanese: what is wrong,
// the verb's usage line and where to read more, on standard error.
#pragma once

#include <CLI/CLI.hpp>

#include "ToolEnvironment.h"

namespace qv::cli {

// Words CLI11 took for none of the options and arguments it knows.
bool HasExtras(const CLI::App& app);

// Says what is wrong with the parsed line: an unknown verb or option, a word
// too many, or what CLI11 refused (`error`, may be null). The exit code, 2.
int ReportUsageError(const CLI::App& app, const CLI::ParseError* error, ToolEnvironment& env);

}  // namespace qv::cli
