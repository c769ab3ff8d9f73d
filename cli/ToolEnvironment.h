// What the command-line tool needs of the world around it: its standard
// streams, the spooler, the platform's file writer and the send journal.
// The console program fills it in; the tests give streams they read, a
// fake spooler and a journal in a folder of their own.
#pragma once

#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "core/SendJournal.h"
#include "core/SettingsBlock.h"
#include "core/SettingsFile.h"
#include "core/Spooler.h"

namespace qv::cli {

enum ExitCode : int {
    kExitDone = 0,
    kExitDifferences = 1,   // diff: settings differ; check: repairs or warnings
    kExitBadInput = 2,      // usage error, unreadable or invalid input, output not written
    kExitNoPrinter = 3,     // a named printer is missing or not eligible
    kExitSendFailed = 4,    // at least one send failed, or the send log could not be written
    kExitNotConfirmed = 5,  // nothing failed, but a send waits in a queue or is unconfirmed
};

struct ToolEnvironment {
    ToolEnvironment(std::ostream& output, std::ostream& errors) : out(output), err(errors) {}

    std::ostream& out;  // UTF-8 text
    std::ostream& err;  // UTF-8 text
    // Told before anything is written whether a stream carries UTF-8 that
    // must reach its reader unconverted: JSON on `out`, both with --utf8.
    // Either may be empty.
    std::function<void()> useUtf8Output;
    std::function<void()> useUtf8Errors;
    // Without a spooler the tool offers no printer list and no spooler sends.
    Spooler* spooler = nullptr;
    bool ntFamily = true;
    // Strict order of the printer selection dialog's sorted list.
    std::function<bool(const std::wstring&, const std::wstring&)> listOrder = std::less<std::wstring>();
    std::function<FileWriteResult(const std::filesystem::path&, const SettingsBlock&)> writeSettingsFile =
        [](const std::filesystem::path& path, const SettingsBlock& block) {
            return WriteSettingsFile(path, block);
        };
    // The send journal, whose records also go to `<computer>.jsonl` in
    // `extraFolder` (--journal) when given; empty: the tool keeps none.
    std::function<SendJournal(const std::optional<std::filesystem::path>& extraFolder)> journal;
    // Whole files other than settings files (JSON), written the same way.
    std::function<FileWriteResult(const std::filesystem::path&, std::span<const std::uint8_t>)> writeFile =
        [](const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
            return WriteFileReplacing(path, bytes);
        };
    // The current time as UTC for log lines, "2024-05-01T09:30:00.123Z"; empty:
    // the system clock.
    std::function<std::string()> utcNow;

    // Standard input, read for the file name "-" at most once in a run
    // (`inTaken` then); nullptr when it is a terminal.
    std::istream* in = nullptr;
    bool inTaken = false;
    // Told before raw bytes (a settings file for "-o -") go to `out`; false
    // when `out` is a terminal, which is no place for them. Empty: fine.
    std::function<bool()> useBinaryOutput;
    // The system's error code of the write to `out` that failed; empty: errno.
    std::function<int()> outputError;
    // --quiet: nothing on `out` but documents asked for (JSON, "-o -"); on
    // `err` only errors.
    bool quiet = false;
};

}  // namespace qv::cli
