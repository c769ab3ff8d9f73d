// The send journal: one JSON line per send attempt of the panel or the
// tool, so that what each printer received can be seen and got back. The
// printer cannot be read back; this is the closest thing to it.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SendOutcome.h"
#include "SettingsBlock.h"

namespace qv {

struct JournalRecord {
    std::string time;  // UTC, ISO 8601 with milliseconds: "2026-12-08T10:45:40.123Z"
    std::string computer;
    std::string user;
    std::string program;                // "qvx4k5" or "qvx4k5cmd"
    std::string version;                // "2.0.0"
    std::string printer;                // the printer's name; for a TCP send the host as given
    std::optional<std::string> server;  // the print server; none for a local printer or TCP
    std::string port;                   // the printer's port, or the TCP port
    std::optional<std::string> host;    // the host of a TCP send
    std::string route;                  // "spooler" or "tcp"
    Delivery result = Delivery::Failed;
    std::string reason;
    std::uint32_t job = 0;            // the spooler's job id; 0: none
    std::string sha256;               // of the 270 bytes, lower-case hex
    std::string block;                // the 270 bytes as 540 lower-case hex digits
    std::optional<std::string> file;  // absolute path of the settings file, if any
};

// The record as one line of JSON, without the line break.
std::string JournalLine(const JournalRecord& record);
// A line read back; none for a line that is no record.
std::optional<JournalRecord> ParseJournalLine(std::string_view line);
// Every record of a journal file's text, oldest first. A last line without
// its line break is torn (a writer stopped half way) and skipped, as are
// lines that are no record.
std::vector<JournalRecord> ReadJournalText(std::string_view text);

// The 270 bytes of a record; none when `block` is not 540 hex digits (a
// damaged record, listed but never opened).
std::optional<SettingsBlock> BlockOf(const JournalRecord& record);
std::string BlockHex(const SettingsBlock& block);
// Sets the record's `block` and `sha256` to those of the bytes sent.
void SetBlock(JournalRecord& record, const SettingsBlock& block);

// The records of one printer (every printer when none), newest first.
std::vector<JournalRecord> NewestFirst(std::vector<JournalRecord> records,
                                       const std::optional<std::string>& printer);
// The newest record delivered to `printer` whose block is whole.
std::optional<JournalRecord> LastDelivered(const std::vector<JournalRecord>& records,
                                           std::string_view printer);

// Printer names compare as Windows compares them: ASCII letters in either case.
bool SamePrinter(std::string_view a, std::string_view b);

// "2026-12-08T10:45:40.123Z"
std::string UtcTimestamp(std::chrono::system_clock::time_point when);
// A record's time in the computer's local time, "2026/12/08 19:45:40"; the
// text as it is when it is no time of this form.
std::string LocalTimeText(std::string_view utc);

// A journal is renamed to its predecessor once a line would take it past
// this size, so it never grows without end.
inline constexpr std::uintmax_t kJournalSizeLimit = 10 * 1024 * 1024;
bool JournalNeedsRotation(std::uintmax_t size, std::size_t lineSize);
// "sends.jsonl" -> "sends.1.jsonl", in the same folder.
std::filesystem::path RotatedJournal(const std::filesystem::path& file);
// What an append writes: the line and its break, after a break that ends a
// torn last line (`lastByte` is the file's last byte; none when empty), so
// that a writer which stopped half way never swallows the next record.
std::string AppendedText(std::string_view line, std::optional<char> lastByte);

// The platform's steps, behind a seam as saving's are: tests replace them.
struct JournalSteps {
    // Appends one whole line (the line break added) under a lock, creating
    // the file and its folders, rotating the file at its size limit.
    std::function<bool(const std::filesystem::path& file, std::string_view line, std::string& problem)>
        append;
    // The whole text of a file; none when it does not exist or cannot be read.
    std::function<std::optional<std::string>(const std::filesystem::path& file)> read;
    std::function<std::string()> computer;
    std::function<std::string()> user;
    std::function<std::string()> utcNow;  // "2026-12-08T10:45:40.123Z"
};

// Where records go: the user's journal, and a site folder's
// `<COMPUTERNAME>.jsonl` when a policy or the tool's --journal names one.
struct JournalPlaces {
    std::filesystem::path userFile;
    std::vector<std::filesystem::path> siteFiles;
};
// The places for a computer: the user's file and `<computer>.jsonl` in each
// site folder given (none or empty ones skipped, a folder given twice used once).
JournalPlaces PlacesFor(std::filesystem::path userFile, std::string_view computer,
                        const std::vector<std::optional<std::filesystem::path>>& siteFolders);

// Every journal in a site folder (each computer's, rotated ones too), oldest
// first by their times (JournalFolder.cpp).
std::vector<JournalRecord> ReadJournalFolder(const std::filesystem::path& folder, const JournalSteps& steps);

class SendJournal {
public:
    SendJournal(JournalPlaces places, JournalSteps steps);

    // Stamps the record (time, computer, user) and appends it to every
    // place. False with the problem when a place could not be written; a
    // journal never stops a send.
    bool Append(JournalRecord record, std::string& problem) const;
    // The user's journal (with its rotated predecessor), oldest first.
    std::vector<JournalRecord> Read() const;

    const JournalPlaces& Places() const { return places_; }
    // The platform's steps, which also name the computer and the user.
    const JournalSteps& Steps() const { return steps_; }

private:
    JournalPlaces places_;
    JournalSteps steps_;
};

}  // namespace qv
