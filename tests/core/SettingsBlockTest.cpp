// The block image, its field encodings, and a whole load/store cycle over
// every page.
#include <gtest/gtest.h>

#include "BlockText.h"

#include <algorithm>
#include <array>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/FormRecord.h"
#include "core/MswConversion.h"
#include "core/PanelValues.h"
#include "core/ParamConversion.h"
#include "core/SelectConversion.h"
#include "core/SettingsBlock.h"

namespace {

using qv::SettingsBlock;

// Commas that close a field outside the form records.
const std::set<std::size_t> kSeparators = {6,   9,   12,  15,  17,  19,  21,  23,  25, 27, 30,
                                           33,  37,  69,  71,  73,  76,  79,  82,  84, 86, 125,
                                           164, 203, 242, 245, 248, 251, 254, 257, 260};
const std::set<std::size_t> kReserved = {22, 124, 163, 202, 241};

// Every byte some page writes, from the lists of each page.
std::set<std::size_t> PageOwnedBytes()
{
    std::set<std::size_t> owned = {4,   5,   7,  8,  10,  11,  13,  14,  16,  18,  20,  24,  28,  29,  31,
                                   32,  34,  35, 36, 243, 244, 247, 249, 250, 252, 253, 255, 256, 258, 259,
                                   261, 262, 26, 67, 68,  70,  72,  74,  75,  77,  78,  80,  81,  83,  85};
    for (std::size_t i = 38; i <= 66; ++i)
        owned.insert(i);
    for (std::size_t start : {87u, 126u, 165u, 204u})
        for (std::size_t i = start; i < start + 37; ++i)
            owned.insert(i);
    return owned;
}

TEST(FactoryDefaults, EqualsTheFactoryHexImage)
{
    // The factory image, one row of sixteen bytes per line.
    const char* const rows[] = {
        "1C 6F 30 2C 00 00 2C 02 00 2C 00 00 2C 0C 00 2C",  // 0
        "30 2C 30 2C 30 2C 00 2C 30 2C 30 2C 34 30 2C 33",  // 16
        "36 2C 30 39 36 2C 36 36 2C 31 32 30 2C 31 32 30",  // 32
        "2C 30 34 36 2C 30 34 36 2C 30 35 34 2C 30 30 2C",  // 48
        "30 30 2C 30 39 2C 30 2C 30 2C 30 30 2C 30 30 2C",  // 64
        "30 30 2C 30 2C 30 2C 36 36 2C 30 30 30 2C 31 33",  // 80
        "36 2C 31 32 30 2C 31 32 30 2C 30 34 36 2C 30 34",  // 96
        "36 2C 30 35 34 2C 30 30 2C 30 30 2C 00 2C 36 36",  // 112
        "2C 30 30 30 2C 31 33 36 2C 31 32 30 2C 31 32 30",  // 128
        "2C 30 34 36 2C 30 34 36 2C 30 35 34 2C 30 30 2C",  // 144
        "30 30 2C 00 2C 36 36 2C 30 30 30 2C 31 33 36 2C",  // 160
        "31 32 30 2C 31 32 30 2C 30 34 36 2C 30 34 36 2C",  // 176
        "30 35 34 2C 30 30 2C 30 30 2C 00 2C 36 36 2C 30",  // 192
        "30 30 2C 31 33 36 2C 31 32 30 2C 31 32 30 2C 30",  // 208
        "34 36 2C 30 34 36 2C 30 35 34 2C 30 30 2C 30 30",  // 224
        "2C 00 2C 31 35 2C 30 32 2C 30 32 2C 30 30 2C 30",  // 240
        "30 2C 30 30 2C 30 30 2E 00 00 00 00 00 00",        // 256
    };
    std::vector<std::uint8_t> image;
    for (const char* row : rows) {
        std::istringstream in(row);
        unsigned byte = 0;
        while (in >> std::hex >> byte)
            image.push_back(static_cast<std::uint8_t>(byte));
    }
    ASSERT_EQ(image.size(), qv::kBlockSize);
    for (std::size_t at = 0; at < qv::kBlockSize; ++at)
        EXPECT_EQ(qv::FactoryDefaults[at], image[at]) << "byte " << at;
}

TEST(FactoryDefaults, HoldsTheFrame)
{
    const auto& f = qv::FactoryDefaults;
    EXPECT_EQ(f[0], 0x1C);
    EXPECT_EQ(f[1], 0x6F);
    EXPECT_EQ(f[2], 0x30);
    EXPECT_EQ(f[3], 0x2C);
    for (std::size_t at : kSeparators)
        EXPECT_EQ(f[at], ',') << "separator at " << at;
    EXPECT_EQ(f[263], 0x2E);
    for (std::size_t at : kReserved)
        EXPECT_EQ(f[at], 0x00) << "reserved byte at " << at;
    for (std::size_t at = 264; at < 270; ++at)
        EXPECT_EQ(f[at], 0x00) << "padding at " << at;
}

TEST(FactoryDefaults, HoldsTheFactoryFieldValues)
{
    const auto& f = qv::FactoryDefaults;
    EXPECT_EQ(f[4], 0x00);
    EXPECT_EQ(f[5], 0x00);
    EXPECT_EQ(f[7], 0x02);
    EXPECT_EQ(f[8], 0x00);
    EXPECT_EQ(f[10], 0x00);
    EXPECT_EQ(f[11], 0x00);
    EXPECT_EQ(f[13], 0x0C);
    EXPECT_EQ(f[14], 0x00);
    EXPECT_EQ(Text(f, 28, 2), "40");
    EXPECT_EQ(Text(f, 31, 2), "36");
    EXPECT_EQ(Text(f, 34, 3), "096");
    EXPECT_EQ(Text(f, 38, 29), "66,120,120,046,046,054,00,00,");
    for (std::size_t start : {87u, 126u, 165u, 204u})
        EXPECT_EQ(Text(f, start, 37), "66,000,136,120,120,046,046,054,00,00,") << "form at " << start;
    EXPECT_EQ(Text(f, 67, 2), "09");
    EXPECT_EQ(Text(f, 243, 2), "15");
    EXPECT_EQ(Text(f, 246, 2), "02");
    EXPECT_EQ(Text(f, 249, 2), "02");
    EXPECT_EQ(Text(f, 252, 11), "00,00,00,00");
}

TEST(FieldEncoding, ReadsFixedWidthDecimals)
{
    SettingsBlock b = qv::FactoryDefaults;
    EXPECT_EQ(qv::ReadD2(b, 28), 40);
    EXPECT_EQ(qv::ReadD3(b, 34), 96);
    // Non-digits count as their code minus '0'.
    b[28] = 'A';
    b[29] = '0';
    EXPECT_EQ(qv::ReadD2(b, 28), 170);
}

TEST(FieldEncoding, WritesD3WithLeadingZerosWithoutTouchingTheSeparator)
{
    SettingsBlock b = qv::FactoryDefaults;
    qv::WriteD3(b, 34, 5);
    EXPECT_EQ(Text(b, 34, 4), "005,");
    qv::WriteD3(b, 34, 126);
    EXPECT_EQ(Text(b, 34, 4), "126,");
    qv::WriteD3(b, 34, 1234);  // only the first three characters fit
    EXPECT_EQ(Text(b, 34, 4), "123,");
}

TEST(FieldEncoding, WritesD2AsTensAndUnits)
{
    SettingsBlock b = qv::FactoryDefaults;
    qv::WriteD2(b, 28, 9);
    EXPECT_EQ(Text(b, 28, 3), "09,");
    qv::WriteD2(b, 28, 68);
    EXPECT_EQ(Text(b, 28, 3), "68,");
}

TEST(FieldEncoding, S2IsTheTwosComplementHexOfTheValue)
{
    const std::pair<int, const char*> cases[] = {{-6, "FA"}, {-5, "FB"}, {-4, "FC"}, {-3, "FD"}, {-2, "FE"},
                                                 {-1, "FF"}, {0, "00"},  {1, "01"},  {3, "03"},  {5, "05"}};
    for (const auto& [value, code] : cases) {
        SettingsBlock b = qv::FactoryDefaults;
        qv::WriteS2(b, 252, value);
        EXPECT_EQ(Text(b, 252, 3), std::string(code) + ",");
        EXPECT_EQ(qv::ReadS2(b, 252), value) << code;
    }
}

TEST(FieldEncoding, S2WithAnotherSignCharacterIsNotRead)
{
    SettingsBlock b = qv::FactoryDefaults;
    b[252] = '1';
    EXPECT_FALSE(qv::ReadS2(b, 252).has_value());
    b[252] = 'f';
    EXPECT_FALSE(qv::ReadS2(b, 252).has_value());
}

TEST(PageCycle, FactoryDefaultsSurviveLoadAndStoreIntoAnotherBlock)
{
    SettingsBlock source = qv::FactoryDefaults;
    qv::PanelValues pages;
    pages.Load(source);
    EXPECT_EQ(source, qv::FactoryDefaults) << "loading factory values must repair nothing";

    // Same frame, but every page-owned byte holds something else first.
    SettingsBlock target = qv::FactoryDefaults;
    for (std::size_t at : PageOwnedBytes())
        target[at] = 0x5A;
    pages.Store(target);
    for (std::size_t at = 0; at < qv::kBlockSize; ++at)
        EXPECT_EQ(target[at], qv::FactoryDefaults[at]) << "byte " << at;
}

TEST(PageCycle, StoringKeepsTheFrameOfTheTargetBlock)
{
    SettingsBlock source = qv::FactoryDefaults;
    qv::PanelValues pages;
    pages.Load(source);

    SettingsBlock target;
    target.fill(0xA5);
    pages.Store(target);
    const auto owned = PageOwnedBytes();
    for (std::size_t at = 0; at < qv::kBlockSize; ++at) {
        if (owned.count(at))
            EXPECT_EQ(target[at], qv::FactoryDefaults[at]) << "page byte " << at;
        else
            EXPECT_EQ(target[at], 0xA5) << "frame byte " << at;
    }
}

TEST(PageCycle, EveryByteBelongsToOnePageOrToTheFrame)
{
    // Each page stores on its own into a marked block; the bytes it changes
    // are its own. No byte may belong to two pages, and the bytes of no page
    // must be exactly the frame.
    SettingsBlock source = qv::FactoryDefaults;
    qv::PanelValues pages;
    pages.Load(source);
    const std::function<void(SettingsBlock&)> stores[] = {
        [&](SettingsBlock& b) { qv::StoreSelectValues(pages.select, b); },
        [&](SettingsBlock& b) { pages.forms.StoreToBlock(b); },
        [&](SettingsBlock& b) { qv::StoreParamValues(pages.param, b); },
        [&](SettingsBlock& b) { qv::StoreMswValues(1, pages.msw1, b); },
        [&](SettingsBlock& b) { qv::StoreMswValues(2, pages.msw2, b); },
        [&](SettingsBlock& b) { qv::StoreMswValues(3, pages.msw3, b); },
        [&](SettingsBlock& b) { qv::StoreMswValues(4, pages.msw4, b); },
    };
    std::array<int, qv::kBlockSize> writers{};
    for (const auto& store : stores) {
        SettingsBlock b;
        b.fill(0xA5);
        store(b);
        for (std::size_t at = 0; at < qv::kBlockSize; ++at)
            writers[at] += b[at] != 0xA5 ? 1 : 0;
    }

    std::set<std::size_t> frame = {0, 1, 2, 3, 246, 263};
    frame.insert(kSeparators.begin(), kSeparators.end());
    frame.insert(kReserved.begin(), kReserved.end());
    for (std::size_t at = 264; at < 270; ++at)
        frame.insert(at);
    for (std::size_t at = 0; at < qv::kBlockSize; ++at)
        EXPECT_EQ(writers[at], frame.count(at) ? 0 : 1) << "byte " << at;
}

TEST(PageCycle, NormalisedBlockIsStableUnderASecondCycle)
{
    SettingsBlock b = qv::FactoryDefaults;
    b[4] = 0x07;                 // country 7 shows as Japan
    b[7] = 0xF2;                 // upper nibble dropped
    b[258] = '0', b[259] = '9';  // LF pitch repaired at load
    b[261] = 'F', b[262] = 'A';  // LF pitch repaired to "FG", stored "00"
    b[72] = '3';                 // unknown reduction
    b[249] = '0', b[250] = '9';  // unknown AGA code
    b[246] = '1';                // never written
    qv::PanelValues first;
    first.Load(b);
    first.Store(b);
    EXPECT_EQ(b[4], 0x00);
    EXPECT_EQ(b[7], 0x02);
    EXPECT_EQ(Text(b, 258, 2), "00");
    EXPECT_EQ(Text(b, 261, 2), "00");
    EXPECT_EQ(b[72], '0');
    EXPECT_EQ(Text(b, 249, 2), "02");
    EXPECT_EQ(b[246], '1');

    const SettingsBlock once = b;
    qv::PanelValues second;
    second.Load(b);
    second.Store(b);
    EXPECT_EQ(b, once);
}

}  // namespace
