// A settings block made from an export document: every fault of the
// document found and named, or the block to write.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "SettingsJson.h"
#include "core/PanelValues.h"

namespace qv::cli {

inline constexpr std::string_view kSettingsFormat = "qvx4k5-settings";
inline constexpr int kSettingsVersion = 2;  // version 1 has no "frame"

class SettingsImport {
public:
    // `base`: the block of the --base file, or the factory settings.
    // `source`: the input's name for messages.
    SettingsImport(const SettingsBlock& base, std::string source);

    // Takes the document (UTF-8 JSON text) into the block.
    void Read(std::string_view text);
    void Error(const std::string& text);
    // The messages, at most a hundred and then a count of the rest.
    std::vector<std::string> Errors() const;
    bool Failed() const { return !errors_.empty(); }
    // The block to write once the document had no faults.
    SettingsBlock Result();

private:
    std::optional<Json> Parse(std::string_view text);
    void Document(const Json& doc);
    void Setting(const std::string& key, const Json& json);
    void Margins();
    bool Listing() const;

    SettingsBlock base_;
    PanelLoad start_;
    std::string source_;
    std::vector<std::string> errors_;
    std::size_t unlisted_ = 0;
    std::set<int> marginForms_;
};

}  // namespace qv::cli
