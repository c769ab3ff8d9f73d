// The command-line tool qvx4k5cmd: settings files and printers for scripts.
#pragma once

#include <string>
#include <vector>

#include "ToolEnvironment.h"

namespace qv::cli {

// Runs one command line (UTF-8 arguments without the program name) and
// returns the exit code. Never throws.
int RunTool(const std::vector<std::string>& args, ToolEnvironment& env);

}  // namespace qv::cli
