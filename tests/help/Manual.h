// The manual as the build compiles it, read from the source tree: the
// hand-written topics, the topics the build makes in place of their frames,
// the help project and the keyword index the build writes.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "RcText.h"

namespace qvhelp {

const std::filesystem::path& SourceDir();
const std::filesystem::path& HelpDir();

std::string ReadFile(const std::filesystem::path& path);

// Topics made by the build (QV_GENERATED_HELP_TOPICS).
std::vector<std::filesystem::path> GeneratedTopics();

struct Manual {
    std::map<std::string, std::string> html;      // topic file name -> HTML as compiled
    std::map<std::string, std::string> squeezed;  // topic file name -> Squeezed(TopicText)

    bool Has(const std::string& topic, const std::string& needle) const;
    bool HasAnywhere(const std::string& needle) const;
};

const Manual& TheManual();

// res/qvx4k5.rc.
const std::string& Rc();
// The texts the panel shares with the tool (core/SharedTexts.h), which the
// string table names by macro.
const Defines& SharedTextMacros();

// The keyword index as the build wrote it (QV_HELP_INDEX).
const std::string& BuiltIndex();

struct SitemapEntry {
    std::string name;
    std::string local;
};

// The entries of a contents or index file, in file order.
std::vector<SitemapEntry> SitemapEntries(const std::string& text);

}  // namespace qvhelp
