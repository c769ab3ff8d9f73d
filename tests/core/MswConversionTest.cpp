// Memory switch banks: bits to control values and back.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/MswConversion.h"
#include "core/SettingsBlock.h"

namespace
{

using qv::SettingsBlock;

constexpr std::array<std::size_t, 5> kBankOffsets = {0, 4, 7, 10, 13}; // index = bank

qv::MswValues Loaded(int bank, const SettingsBlock& b)
{
    qv::MswValues v(bank);
    qv::LoadMswValues(bank, b, v);
    return v;
}

SettingsBlock WithBank1Byte(std::uint8_t value)
{
    SettingsBlock b = qv::FactoryDefaults;
    b[4] = value;
    return b;
}

TEST(MswFactory, ShowsTheFactorySettings)
{
    const auto& f = qv::FactoryDefaults;
    const auto msw1 = Loaded(1, f);
    EXPECT_EQ(msw1.country, "日本");
    for (std::size_t i = 3; i < 8; ++i)
        EXPECT_EQ(msw1.controls[i], 0) << "MSW1-" << i + 1;

    const auto msw2 = Loaded(2, f);
    EXPECT_EQ(msw2.controls[0], 0) << "check box unchecked";
    EXPECT_EQ(msw2.controls[1], 1) << "MSW2-2 常時";
    for (std::size_t i = 2; i < 8; ++i)
        EXPECT_EQ(msw2.controls[i], 0) << "MSW2-" << i + 1;

    const auto msw3 = Loaded(3, f);
    for (std::size_t i : {1u, 2u, 3u, 4u, 6u, 7u})
        EXPECT_EQ(msw3.controls[i], 0) << "MSW3-" << i + 1;

    const auto msw4 = Loaded(4, f);
    const std::array<int, 8> expected4 = {0, 0, 1, 1, 0, 0, 0, 0}; // TOF＋固定長, 両方向
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(msw4.controls[i], expected4[i]) << "MSW4-" << i + 1;
}

TEST(MswFactory, StoresTheFactoryBytesAgain)
{
    for (int bank = 1; bank <= 4; ++bank) {
        auto v = Loaded(bank, qv::FactoryDefaults);
        SettingsBlock b;
        b.fill(0xA5);
        qv::StoreMswValues(bank, v, b);
        const std::size_t at = kBankOffsets[static_cast<std::size_t>(bank)];
        EXPECT_EQ(b[at], qv::FactoryDefaults[at]) << "bank " << bank;
        EXPECT_EQ(b[at + 1], qv::FactoryDefaults[at + 1]) << "bank " << bank;
    }
}

TEST(MswCountry, ReadsTheThreeLowBitsAsCountry)
{
    const std::pair<std::uint8_t, const char*> cases[] = {
        {0x00, "日本"},   {0x01, "日本"},         {0x02, "アメリカ"}, {0x03, "イギリス"},
        {0x04, "ドイツ"}, {0x05, "スウェーデン"}, {0x06, "日本"},     {0x07, "日本"},
    };
    for (const auto& [byte, country] : cases)
        EXPECT_EQ(Loaded(1, WithBank1Byte(byte)).country, country) << int(byte);
}

TEST(MswCountry, NumbersWithoutACountryAreStoredAsJapan)
{
    for (std::uint8_t byte : {0x01, 0x06, 0x07}) {
        SettingsBlock b = WithBank1Byte(byte);
        auto v = Loaded(1, b);
        qv::StoreMswValues(1, v, b);
        EXPECT_EQ(b[4], 0x00) << int(byte);
    }
}

TEST(MswCountry, CountryAndHighSpeedReceptionShareByteFour)
{
    SettingsBlock b = WithBank1Byte(0x0B);
    auto v = Loaded(1, b);
    EXPECT_EQ(v.country, "イギリス");
    EXPECT_EQ(v.controls[3], 1) << "高速受信";
    qv::StoreMswValues(1, v, b);
    EXPECT_EQ(b[4], 0x0B);
}

TEST(MswCountry, EachCountryStoresItsNumber)
{
    const std::pair<const char*, std::uint8_t> cases[] = {
        {"日本", 0},         {"アメリカ", 2}, {"イギリス", 3}, {"ドイツ", 4},
        {"スウェーデン", 5}, {"France", 0},   {"", 0},
    };
    for (const auto& [country, n] : cases) {
        SettingsBlock b = WithBank1Byte(0x07);
        auto v = Loaded(1, b);
        v.country = country;
        qv::StoreMswValues(1, v, b);
        EXPECT_EQ(b[4], n) << country;
    }
}

TEST(MswBits, UpperNibblesAreDroppedOnStore)
{
    SettingsBlock b = qv::FactoryDefaults;
    b[7] = 0xF2;
    b[8] = 0xA0;
    auto v = Loaded(2, b);
    EXPECT_EQ(v.controls[1], 1);
    for (std::size_t i = 4; i < 8; ++i)
        EXPECT_EQ(v.controls[i], 0) << "MSW2-" << i + 1;
    qv::StoreMswValues(2, v, b);
    EXPECT_EQ(b[7], 0x02);
    EXPECT_EQ(b[8], 0x00);
}

TEST(MswBits, EachSwitchMapsToItsBit)
{
    // MSW4 has a plain radio group for every switch: walk one bit at a time.
    for (std::size_t sw = 0; sw < 8; ++sw) {
        SettingsBlock b = qv::FactoryDefaults;
        b[13] = 0;
        b[14] = 0;
        b[13 + sw / 4] = static_cast<std::uint8_t>(1u << (sw % 4));
        auto v = Loaded(4, b);
        for (std::size_t i = 0; i < 8; ++i)
            EXPECT_EQ(v.controls[i], i == sw ? 1 : 0) << "bit " << sw << " switch " << i + 1;

        v.controls.fill(0);
        v.controls[sw] = 1;
        qv::StoreMswValues(4, v, b);
        EXPECT_EQ(b[13], sw < 4 ? 1u << sw : 0u) << "switch " << sw + 1;
        EXPECT_EQ(b[14], sw >= 4 ? 1u << (sw - 4) : 0u) << "switch " << sw + 1;
    }
}

TEST(MswBank3, LanAdapterSwitchIsAlwaysStoredAsZero)
{
    SettingsBlock b = qv::FactoryDefaults;
    b[10] = 0x01;
    auto v = Loaded(3, b);
    qv::StoreMswValues(3, v, b);
    EXPECT_EQ(b[10], 0x00);
}

TEST(MswBank3, SwitchSixIsCarriedThroughUnchanged)
{
    SettingsBlock b = qv::FactoryDefaults;
    b[11] = 0x02;
    auto v = Loaded(3, b);
    qv::StoreMswValues(3, v, b);
    EXPECT_EQ(b[11], 0x02);

    // Editing the other switches of the byte keeps it as well.
    v.controls[4] = 1; // MSW3-5
    v.controls[6] = 1; // MSW3-7 check box
    qv::StoreMswValues(3, v, b);
    EXPECT_EQ(b[11], 0x07);

    // A bank read without it writes it cleared.
    SettingsBlock clear = qv::FactoryDefaults;
    auto w = Loaded(3, clear);
    qv::StoreMswValues(3, w, b);
    EXPECT_EQ(b[11], 0x00);
}

TEST(MswStore, WritesOnlyTheTwoBytesOfTheBank)
{
    for (int bank = 1; bank <= 4; ++bank) {
        auto v = Loaded(bank, qv::FactoryDefaults);
        SettingsBlock b;
        b.fill(0xA5);
        qv::StoreMswValues(bank, v, b);
        const std::size_t at = kBankOffsets[static_cast<std::size_t>(bank)];
        for (std::size_t i = 0; i < qv::kBlockSize; ++i) {
            if (i == at || i == at + 1)
                EXPECT_LE(b[i], 0x0F) << "bank " << bank << " byte " << i;
            else
                EXPECT_EQ(b[i], 0xA5) << "bank " << bank << " byte " << i;
        }
    }
}

} // namespace
