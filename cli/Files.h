// Files the tool reads and writes: settings files with the reasons a file
// is refused, JSON input, and whole output files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ToolEnvironment.h"
#include "core/SettingsBlock.h"

namespace qv::cli {

// A path from a UTF-8 command-line argument, on every platform.
std::filesystem::path PathFromUtf8(std::string_view text);

struct FileBytes {
    std::optional<std::string> problem;  // why the file could not be read
    std::vector<std::uint8_t> bytes;     // at most `limit` bytes
    std::uintmax_t size = 0;             // the whole file
};
FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit);

// The settings of a file, or why `name` gives none (a sentence that
// follows "NAME: ").
struct SettingsInput {
    std::optional<std::string> problem;
    SettingsBlock block{};
    std::uintmax_t size = 0;
};
// `name` is a settings file, or "printer:NAME" for the settings last
// delivered to that printer according to the send journal.
SettingsInput ReadSettingsInput(const std::string& name, ToolEnvironment& env);

// The printer of "printer:NAME"; none for other names (HistoryVerbs.cpp).
std::optional<std::string> JournalPrinterName(const std::string& name);
SettingsInput DeliveredSettings(const std::string& printer, ToolEnvironment& env);

// The block of a settings file, or a message on err and nothing.
std::optional<SettingsBlock> LoadSettingsInput(const std::string& name, ToolEnvironment& env);

// Tells how writing `name` went: `done` on standard output, or why it
// failed on err. The exit code that follows.
int ReportWrite(FileWriteResult result, const std::string& name, const std::string& done,
                ToolEnvironment& env);

// "qvx4k5cmd: " and the message on err.
void Complain(ToolEnvironment& env, const std::string& message);

// Bytes as shown in messages: "\"09\"" when printable ASCII, else "0x1C 0x6F".
std::string BytesText(const std::vector<std::uint8_t>& bytes, bool raw = false);

}  // namespace qv::cli
