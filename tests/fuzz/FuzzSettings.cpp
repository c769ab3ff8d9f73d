// Any 270 bytes go through every page's load and store: the frame must
// survive, and a second cycle must change nothing. The shown values must
// be ones the settings catalogue accepts. The whole input also goes
// through the settings file decoder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <span>

#include "core/FormRecord.h"
#include "core/MswConversion.h"
#include "core/PanelValues.h"
#include "core/SettingsCheck.h"
#include "core/ParamConversion.h"
#include "core/SelectConversion.h"
#include "core/SettingsBlock.h"
#include "core/SettingsFile.h"

namespace {

using qv::SettingsBlock;

// Bytes that no page writes: header, separators outside the form records,
// reserved bytes, the feed time's tens digit, terminator and padding.
constexpr std::size_t kFrame[] = {0,   1,   2,   3,   6,   9,   12,  15,  17,  19,  21,  22,
                                  23,  25,  27,  30,  33,  37,  69,  71,  73,  76,  79,  82,
                                  84,  86,  124, 125, 163, 164, 202, 203, 241, 242, 245, 246,
                                  248, 251, 254, 257, 260, 263, 264, 265, 266, 267, 268, 269};
static_assert(std::size(kFrame) == 48);

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// One distribute and one collect with page values that start fresh.
void LoadAndStoreEveryPage(SettingsBlock& b)
{
    qv::PanelValues pages;
    pages.Load(b);
    pages.Store(b);
}

void FuzzPages(const std::uint8_t* data, std::size_t size)
{
    SettingsBlock block{};
    if (size > 0)
        std::memcpy(block.data(), data, std::min(size, block.size()));
    const SettingsBlock original = block;

    LoadAndStoreEveryPage(block);
    for (std::size_t at : kFrame)
        Check(block[at] == original[at]);

    // Every record opens in the form dialog without trouble.
    for (int form = 0; form < 5; ++form) {
        qv::FormRecordBuffer record{};
        std::memcpy(record.data(), block.data() + qv::kFormOffsets[static_cast<std::size_t>(form)],
                    qv::FormRecordSize(form));
        const auto values = qv::ParseFormRecord(record, qv::LayoutOf(form));
        for (int step : values.loadStep)
            Check(step >= 0 && step <= 9);
    }

    const SettingsBlock once = block;
    LoadAndStoreEveryPage(block);
    Check(block == once);
}

// After loading any block the panel shows only values the catalogue
// accepts; form records are not checked on loading and may hold anything.
// The audit of the block never fails either.
void FuzzCatalogue(const std::uint8_t* data, std::size_t size)
{
    SettingsBlock block{};
    if (size > 0)
        std::memcpy(block.data(), data, std::min(size, block.size()));
    const qv::PanelLoad load = qv::LoadAsPanel(block);
    for (const qv::SettingDef& def : qv::Settings())
        if (!std::holds_alternative<qv::binding::Form>(def.binding))
            Check(qv::Accepts(def, qv::GetValue(def, load.values)));
    for (const qv::BlockFinding& finding : qv::CheckBlock(block))
        Check(finding.offset < qv::kBlockSize && !finding.stored.empty());
}

void FuzzFile(const std::uint8_t* data, std::size_t size)
{
    const SettingsBlock before = qv::FactoryDefaults;
    SettingsBlock block = before;
    const auto result = qv::DecodeSettingsFile(std::span<const std::uint8_t>(data, size), block);
    const bool headerOk = size >= qv::kFileHeaderSize &&
                          std::equal(qv::kSettingsFileHeader.begin(), qv::kSettingsFileHeader.end(), data);
    if (result == qv::FileReadResult::Ok) {
        Check(size >= qv::kSettingsFileSize && headerOk);
        Check(std::equal(block.begin(), block.end(), data + qv::kFileHeaderSize));
    } else {
        Check(block == before);
        Check(!(size >= qv::kSettingsFileSize && headerOk));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzPages(data, size);
    FuzzCatalogue(data, size);
    FuzzFile(data, size);
    return 0;
}
