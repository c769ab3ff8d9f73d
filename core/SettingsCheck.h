// Audits of settings files and blocks: why a file is refused, what loading
// repairs, which frame bytes differ from the factory frame, and which form
// values the form setup dialog would not take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "SettingsCatalogue.h"

namespace qv {

enum class FileProblem { None, WrongHeader, TooShort };

// Why the reader refuses `data` (None: it reads it). A short file whose
// bytes begin the header counts as too short.
FileProblem DiagnoseSettingsFile(std::span<const std::uint8_t> data);

// The frame: bytes that no page writes, so every send carries them as the
// block holds them. Separators include those inside the form records.
enum class FramePart { CommandHeader, Separator, Reserved, FeedTimeTens, Terminator, Padding };

std::optional<FramePart> FramePartAt(std::size_t offset);
// "commandHeader", "separator", "reserved", "feedTimeTens", "terminator", "padding".
std::string_view FramePartName(FramePart part);

// What a byte (or the `bits` of it) belongs to: the key of the setting that
// holds those bits, else the frame part, else the bank or form record
// ("msw3", "form2").
std::string BlockPartName(std::size_t offset, std::uint8_t bits = 0xFF);

struct BlockFinding {
    enum Kind {
        Repair,     // loading and saving changes these bytes
        Frame,      // frame bytes unlike the factory frame, sent as they are
        FormValue,  // a form field the form setup dialog would not take
    };
    Kind kind;
    std::string name;  // setting key or block part
    std::size_t offset = 0;
    std::vector<std::uint8_t> stored;    // as the block holds them
    std::vector<std::uint8_t> expected;  // Repair: as saved and sent; Frame: factory; FormValue: none
    std::string value;                   // Repair, FormValue: the value the panel shows
};

// Everything worth a warning about a stored block, repairs first.
std::vector<BlockFinding> CheckBlock(const SettingsBlock& stored);

struct ByteDifference {
    std::size_t offset;
    std::uint8_t a, b;
    std::string part;  // BlockPartName of the differing bits
};

// Bytes (bits for the switch banks) in which two blocks differ outside the
// spans of `skipped`.
std::vector<ByteDifference> DifferencesOutside(const SettingsBlock& a, const SettingsBlock& b,
                                               std::span<const SettingDef* const> skipped);

}  // namespace qv
