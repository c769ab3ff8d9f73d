// Files the tool reads and writes: settings files with the reasons a file
// is refused, JSON input, whole output files, the name "-" for standard
// input and output, and the system's reasons behind a failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ToolEnvironment.h"
#include "core/SettingsBlock.h"

namespace qv::cli {

// A path from a UTF-8 command-line argument, on every platform.
std::filesystem::path PathFromUtf8(std::string_view text);

// The system's error code of the call that just failed: errno, and on
// Windows GetLastError().
int LastSystemError();
void ClearSystemError();
// The system's own words for an error code (strerror; FormatMessageW on
// Windows, where Winsock codes work too), or "" for 0.
std::string SystemReason(int code);
// A message that ends in the system's reason: "sentence: reason", or
// "sentence。" when the code gives none.
std::string WithReason(const std::string& sentence, int code);

struct FileBytes {
    // Why the file could not be read: sentences ending in the system's reason.
    std::optional<std::string> problem;
    std::vector<std::uint8_t> bytes;  // at most `limit` bytes
    std::uintmax_t size = 0;          // the whole file
};
FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit);

// An input named on the command line: "-" is standard input (once in a
// run), anything else a file.
FileBytes ReadInput(const std::string& name, std::size_t limit, ToolEnvironment& env);
// The name as messages show it: "標準入力" for "-".
std::string InputName(const std::string& name);

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
// failed on err, with the system's reason for it (call it right after the
// write). The exit code that follows.
int ReportWrite(FileWriteResult result, const std::string& name, const std::string& done,
                ToolEnvironment& env);

// A whole output named by -o: "-" is standard output, anything else a file
// written through the environment's save steps. The exit code.
int WriteSettingsOutput(const std::string& name, const SettingsBlock& block, const std::string& done,
                        ToolEnvironment& env);
int WriteTextOutput(const std::string& name, const std::string& text, const std::string& done,
                    ToolEnvironment& env);

// Standard output for reports and confirmations: nowhere with --quiet.
std::ostream& ReportStream(ToolEnvironment& env);

// "qvx4k5cmd: " and the message on err.
void Complain(ToolEnvironment& env, const std::string& message);

// Bytes as shown in messages: "\"09\"" when printable ASCII, else "0x1C 0x6F".
std::string BytesText(const std::vector<std::uint8_t>& bytes, bool raw = false);

}  // namespace qv::cli
