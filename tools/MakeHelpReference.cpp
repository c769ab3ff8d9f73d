// make_help_reference TEMPLATE OUTPUT: writes the settings reference topic,
// TEMPLATE with the tables made from the settings catalogue. Runs on the
// build machine.
#include <iostream>

#include "HelpReference.h"
#include "ToolFiles.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_help_reference TEMPLATE OUTPUT\n";
        return 2;
    }
    const auto topic = qv::help::ReadWholeFile(argv[1]);
    if (!topic) {
        std::cerr << "make_help_reference: cannot read " << argv[1] << "\n";
        return 1;
    }
    const auto page = qv::help::WithReference(*topic, qv::help::ReferenceTables());
    if (!page) {
        std::cerr << "make_help_reference: " << argv[1]
                  << " needs a <!-- reference:begin ... --> comment followed by <!-- reference:end -->\n";
        return 1;
    }
    if (const std::string error = qv::help::WriteReplacing(argv[2], *page); !error.empty()) {
        std::cerr << "make_help_reference: " << error << "\n";
        return 1;
    }
    return 0;
}
