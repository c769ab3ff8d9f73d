// make_help_reference TEMPLATE OUTPUT: writes the settings reference topic,
// TEMPLATE with the tables made from the settings catalogue. Runs on the
// build machine.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "HelpReference.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_help_reference TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream topic;
    topic << in.rdbuf();
    if (!in) {
        std::cerr << "make_help_reference: cannot read " << argv[1] << "\n";
        return 1;
    }
    const auto page = qv::help::WithReference(topic.str(), qv::help::ReferenceTables());
    if (!page) {
        std::cerr << "make_help_reference: " << argv[1]
                  << " needs a <!-- reference:begin ... --> comment followed by <!-- reference:end -->\n";
        return 1;
    }
    // Written beside and renamed, so that a failed run leaves no half page.
    const std::filesystem::path output = argv[2];
    const std::filesystem::path partial = output.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << *page;
        if (!out.flush()) {
            std::cerr << "make_help_reference: cannot write " << partial << "\n";
            return 1;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, output, error);
    if (error) {
        std::cerr << "make_help_reference: cannot write " << output << ": " << error.message() << "\n";
        return 1;
    }
    return 0;
}
