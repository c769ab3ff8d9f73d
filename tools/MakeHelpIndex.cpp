// make_help_index LIST OUTPUT: writes the manual's keyword index from the
// hand-kept keyword list LIST and the settings catalogue's keys. Runs on the
// build machine.
#include <iostream>
#include <set>

#include "HelpIndex.h"
#include "ToolFiles.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_help_index LIST OUTPUT\n";
        return 2;
    }
    const auto text = qv::help::ReadWholeFile(argv[1]);
    if (!text) {
        std::cerr << "make_help_index: cannot read " << argv[1] << "\n";
        return 1;
    }
    qv::help::IndexList list = qv::help::ParseIndexList(*text);
    std::set<std::string> listed;
    for (const qv::help::IndexEntry& entry : list.entries)
        listed.insert(entry.keyword);
    for (qv::help::IndexEntry& entry : qv::help::SettingKeyEntries()) {
        if (listed.contains(entry.keyword))
            list.errors.push_back(entry.keyword + " is a setting key, which the index lists by itself");
        else
            list.entries.push_back(std::move(entry));
    }
    for (const std::string& error : list.errors)
        std::cerr << "make_help_index: " << argv[1] << ": " << error << "\n";
    if (!list.errors.empty())
        return 1;
    if (const std::string error = qv::help::WriteReplacing(argv[2], qv::help::IndexSitemap(list.entries));
        !error.empty()) {
        std::cerr << "make_help_index: " << error << "\n";
        return 1;
    }
    return 0;
}
