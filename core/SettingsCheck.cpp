#include "SettingsCheck.h"

#include <algorithm>
#include <array>

#include "SettingsFile.h"

namespace qv {

namespace {

constexpr std::array<std::size_t, 5> kReserved = {off::reserved22, off::reserved124, off::reserved163,
                                                  off::reserved202, off::reserved241};

bool Covers(const BlockSpan& span, std::size_t offset)
{
    return offset >= span.offset && offset < span.offset + span.length;
}

std::vector<std::uint8_t> Bytes(const SettingsBlock& b, std::size_t at, std::size_t length)
{
    return {b.begin() + static_cast<std::ptrdiff_t>(at),
            b.begin() + static_cast<std::ptrdiff_t>(at + length)};
}

bool AllDigits(const SettingsBlock& b, const BlockSpan& span)
{
    for (std::size_t i = 0; i < span.length; ++i)
        if (b[span.offset + i] < '0' || b[span.offset + i] > '9')
            return false;
    return true;
}

// Bits of each byte that differ between the blocks.
std::array<std::uint8_t, kBlockSize> Xor(const SettingsBlock& a, const SettingsBlock& b)
{
    std::array<std::uint8_t, kBlockSize> x{};
    for (std::size_t i = 0; i < kBlockSize; ++i)
        x[i] = static_cast<std::uint8_t>(a[i] ^ b[i]);
    return x;
}

// Clears the setting's bits in `bits`; true when any of them was set.
bool TakeSpan(std::array<std::uint8_t, kBlockSize>& bits, const BlockSpan& span)
{
    bool any = false;
    for (std::size_t i = span.offset; i < span.offset + span.length; ++i) {
        any = any || (bits[i] & span.mask) != 0;
        bits[i] = static_cast<std::uint8_t>(bits[i] & ~span.mask);
    }
    return any;
}

void AddRepairs(const SettingsBlock& stored, const PanelLoad& load, std::vector<BlockFinding>& out)
{
    auto changed = Xor(stored, load.block);
    for (const SettingDef& def : Settings())
        if (TakeSpan(changed, def.span))
            out.push_back({BlockFinding::Repair, std::string(def.key), def.span.offset,
                           Bytes(stored, def.span.offset, def.span.length),
                           Bytes(load.block, def.span.offset, def.span.length), ValueText(def, load.values)});
    // Bits no setting shows: the upper halves of the switch bytes, MSW3-1.
    for (std::size_t i = 0; i < kBlockSize; ++i)
        if (changed[i])
            out.push_back(
                {BlockFinding::Repair, BlockPartName(i, changed[i]), i, {stored[i]}, {load.block[i]}, ""});
}

void AddFrame(const SettingsBlock& stored, std::vector<BlockFinding>& out)
{
    for (std::size_t i = 0; i < kBlockSize;) {
        const auto part = FramePartAt(i);
        if (!part) {
            ++i;
            continue;
        }
        // The header and the padding are reported whole, the rest byte by byte.
        std::size_t end = i + 1;
        if (*part == FramePart::CommandHeader || *part == FramePart::Padding)
            while (end < kBlockSize && FramePartAt(end) == part)
                ++end;
        if (!std::equal(stored.begin() + static_cast<std::ptrdiff_t>(i),
                        stored.begin() + static_cast<std::ptrdiff_t>(end),
                        FactoryDefaults.begin() + static_cast<std::ptrdiff_t>(i)))
            out.push_back({BlockFinding::Frame, std::string(FramePartName(*part)), i,
                           Bytes(stored, i, end - i), Bytes(FactoryDefaults, i, end - i), ""});
        i = end;
    }
}

void AddFormValues(const SettingsBlock& stored, const PanelLoad& load, std::vector<BlockFinding>& out)
{
    for (const SettingDef& def : Settings()) {
        if (!std::holds_alternative<binding::Form>(def.binding))
            continue;
        const SettingValue value = GetValue(def, load.values);
        if (!AllDigits(stored, def.span) || !Accepts(def, value))
            out.push_back({BlockFinding::FormValue,
                           std::string(def.key),
                           def.span.offset,
                           Bytes(stored, def.span.offset, def.span.length),
                           {},
                           ValueText(value)});
    }
}

}  // namespace

FileProblem DiagnoseSettingsFile(std::span<const std::uint8_t> data)
{
    const std::size_t head = std::min(data.size(), kFileHeaderSize);
    if (!std::equal(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(head),
                    kSettingsFileHeader.begin()))
        return FileProblem::WrongHeader;
    return data.size() < kSettingsFileSize ? FileProblem::TooShort : FileProblem::None;
}

std::optional<FramePart> FramePartAt(std::size_t offset)
{
    if (offset < off::msw1)
        return FramePart::CommandHeader;
    if (offset >= off::padding && offset < kBlockSize)
        return FramePart::Padding;
    if (offset == off::terminator)
        return FramePart::Terminator;
    if (offset == off::sheetGuideFeedTime)
        return FramePart::FeedTimeTens;
    if (std::find(kReserved.begin(), kReserved.end(), offset) != kReserved.end())
        return FramePart::Reserved;
    // No value byte of the factory image is a comma, so its commas are the
    // separators, those inside the form records included.
    if (offset < kBlockSize && FactoryDefaults[offset] == ',')
        return FramePart::Separator;
    return std::nullopt;
}

std::string_view FramePartName(FramePart part)
{
    switch (part) {
    case FramePart::CommandHeader: return "commandHeader";
    case FramePart::Separator: return "separator";
    case FramePart::Reserved: return "reserved";
    case FramePart::FeedTimeTens: return "feedTimeTens";
    case FramePart::Terminator: return "terminator";
    case FramePart::Padding: return "padding";
    }
    return "";
}

std::string BlockPartName(std::size_t offset, std::uint8_t bits)
{
    for (const SettingDef& def : Settings())
        if (Covers(def.span, offset) && (def.span.mask & bits) != 0)
            return std::string(def.key);
    if (const auto part = FramePartAt(offset))
        return std::string(FramePartName(*part));
    for (int bank = 1; bank <= 4; ++bank)
        if (offset == MswLayout(bank).offset || offset == MswLayout(bank).offset + 1)
            return "msw" + std::to_string(bank);
    for (int form = 0; form < 5; ++form) {
        const std::size_t start = kFormOffsets[static_cast<std::size_t>(form)];
        if (offset >= start && offset < start + FormRecordSize(form))
            return "form" + std::to_string(form);
    }
    return "byte";
}

std::vector<BlockFinding> CheckBlock(const SettingsBlock& stored)
{
    const PanelLoad load = LoadAsPanel(stored);
    std::vector<BlockFinding> findings;
    AddRepairs(stored, load, findings);
    AddFrame(stored, findings);
    AddFormValues(stored, load, findings);
    return findings;
}

std::vector<ByteDifference> DifferencesOutside(const SettingsBlock& a, const SettingsBlock& b,
                                               std::span<const SettingDef* const> skipped)
{
    auto bits = Xor(a, b);
    for (const SettingDef* def : skipped)
        TakeSpan(bits, def->span);
    std::vector<ByteDifference> list;
    for (std::size_t i = 0; i < kBlockSize; ++i)
        if (bits[i])
            list.push_back({i, a[i], b[i], BlockPartName(i, bits[i])});
    return list;
}

}  // namespace qv
