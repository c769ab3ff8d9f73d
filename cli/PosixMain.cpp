// qvx4k5cmd on Linux: the file verbs, raw TCP sends and the send journal;
// the arguments and the output are UTF-8 as the terminal's locale has them.
#include <iostream>

#include "PosixJournal.h"
#include "Tool.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    qv::cli::ToolEnvironment env{std::cout, std::cerr};
    env.in = &std::cin;
    env.journal = [](const std::optional<std::filesystem::path>& extraFolder) {
        return qv::SendJournal(qv::cli::PosixJournalPlaces(extraFolder), qv::cli::PosixJournalSteps());
    };
    const int code = qv::cli::RunTool(args, env);
    std::cout.flush();
    return code;
}
