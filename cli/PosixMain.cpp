// qvx4k5cmd on Linux: the file verbs, raw TCP sends and the send journal;
// the arguments and the output are UTF-8 as the terminal's locale has them.
#include <unistd.h>

#include <csignal>
#include <iostream>

#include "FdWriter.h"
#include "PosixJournal.h"
#include "Tool.h"

int main(int argc, char** argv)
{
    // A reader that went away is a failed write with EPIPE, reported like any
    // other, not a silent death by signal.
    std::signal(SIGPIPE, SIG_IGN);
    FdWriter outWriter(STDOUT_FILENO);
    std::ostream out(&outWriter);
    const std::vector<std::string> args(argv + 1, argv + argc);
    qv::cli::ToolEnvironment env{out, std::cerr};
    if (!::isatty(STDIN_FILENO))
        env.in = &std::cin;
    env.useBinaryOutput = [] { return !::isatty(STDOUT_FILENO); };
    env.outputError = [&] { return outWriter.Error(); };
    env.journal = [](const std::optional<std::filesystem::path>& extraFolder) {
        return qv::SendJournal(qv::cli::PosixJournalPlaces(extraFolder), qv::cli::PosixJournalSteps());
    };
    return qv::cli::RunTool(args, env);
}
