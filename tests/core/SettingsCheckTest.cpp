// Audits of stored blocks: the reader's refusals, what loading repairs,
// frame bytes unlike the factory frame, and form values the dialog refuses.
#include <gtest/gtest.h>

#include <set>

#include "BlockText.h"
#include "core/SettingsCheck.h"
#include "core/SettingsFile.h"

namespace {

using qv::BlockFinding;
using qv::SettingsBlock;

TEST(SettingsCheck, FileDiagnosisAgreesWithTheReader)
{
    const auto good = qv::EncodeSettingsFile(qv::FactoryDefaults);
    auto Bytes = [&](std::size_t count) {
        return std::vector<std::uint8_t>(good.begin(), good.begin() + count);
    };
    auto Changed = [&](std::size_t at, std::uint8_t value) {
        auto bytes = Bytes(good.size());
        bytes[at] = value;
        return bytes;
    };
    std::vector<std::uint8_t> longer = Bytes(good.size());
    longer.push_back(0x55);
    const struct {
        std::vector<std::uint8_t> data;
        qv::FileProblem problem;
    } cases[] = {
        {Bytes(290), qv::FileProblem::None},
        {longer, qv::FileProblem::None},
        {Bytes(289), qv::FileProblem::TooShort},
        {Bytes(20), qv::FileProblem::TooShort},
        {Bytes(5), qv::FileProblem::TooShort},
        {{}, qv::FileProblem::TooShort},
        {Changed(0, 'k'), qv::FileProblem::WrongHeader},  // case differs
        {Changed(18, '\r'), qv::FileProblem::WrongHeader},
        {Changed(19, '\n'), qv::FileProblem::WrongHeader},
        {{'K', 'x'}, qv::FileProblem::WrongHeader},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qv::DiagnoseSettingsFile(c.data), c.problem) << c.data.size() << " bytes";
        SettingsBlock block{};
        const bool read = qv::DecodeSettingsFile(c.data, block) == qv::FileReadResult::Ok;
        EXPECT_EQ(read, c.problem == qv::FileProblem::None) << c.data.size() << " bytes";
    }
}

TEST(SettingsCheck, FrameIsEverythingNoPageWrites)
{
    // The comma after each field outside the form records, and inside them.
    const std::set<std::size_t> separators = {6,   9,   12,  15,  17,  19,  21,  23,  25, 27, 30,
                                              33,  37,  69,  71,  73,  76,  79,  82,  84, 86, 125,
                                              164, 203, 242, 245, 248, 251, 254, 257, 260};
    int recordSeparators = 0;
    for (std::size_t at = 0; at < qv::kBlockSize; ++at) {
        const auto part = qv::FramePartAt(at);
        if (separators.count(at)) {
            EXPECT_EQ(part, qv::FramePart::Separator) << at;
        } else if (part == qv::FramePart::Separator) {
            ++recordSeparators;
        }
    }
    EXPECT_EQ(recordSeparators, 8 + 4 * 10);
    EXPECT_EQ(qv::FramePartAt(3), qv::FramePart::CommandHeader);
    EXPECT_EQ(qv::FramePartAt(124), qv::FramePart::Reserved);
    EXPECT_EQ(qv::FramePartAt(246), qv::FramePart::FeedTimeTens);
    EXPECT_EQ(qv::FramePartAt(263), qv::FramePart::Terminator);
    EXPECT_EQ(qv::FramePartAt(269), qv::FramePart::Padding);
    EXPECT_FALSE(qv::FramePartAt(247));
    EXPECT_FALSE(qv::FramePartAt(4));
    EXPECT_FALSE(qv::FramePartAt(88));
}

struct Expected {
    BlockFinding::Kind kind;
    std::string name;
    std::size_t offset;
    std::string value;  // the value the panel shows, for repairs and form values
};

SettingsBlock With(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes)
{
    SettingsBlock b = qv::FactoryDefaults;
    for (const auto& [at, value] : bytes)
        b[at] = value;
    return b;
}

TEST(SettingsCheck, FindingsOfCraftedBlocks)
{
    const struct {
        const char* what;
        SettingsBlock block;
        std::vector<Expected> findings;
    } cases[] = {
        {"factory", qv::FactoryDefaults, {}},
        {"LF pitch digit out of range",
         FactoryWith(258, "09"),
         {{BlockFinding::Repair, "param.lfPitchSheetGuide", 258, "0"}}},
        {"print pressure with another sign",
         FactoryWith(77, "X3"),
         {{BlockFinding::Repair, "select.printPressure", 77, "0"}}},
        {"unknown reduction",
         FactoryWith(72, "3"),
         {{BlockFinding::Repair, "select.reduction", 72, "縮小なし"}}},
        {"country that names none",
         With({{4, 0x07}}),
         {{BlockFinding::Repair, "msw1.internationalCharacterSet", 4, "日本"}}},
        {"upper half of a switch byte", With({{7, 0xF2}}), {{BlockFinding::Repair, "msw2", 7, ""}}},
        {"LAN adapter switch", With({{10, 0x01}}), {{BlockFinding::Repair, "msw3", 10, ""}}},
        {"switch without control is carried", With({{11, 0x02}}), {}},
        {"command header", With({{1, 'p'}}), {{BlockFinding::Frame, "commandHeader", 0, ""}}},
        {"padding", With({{266, 1}}), {{BlockFinding::Frame, "padding", 264, ""}}},
        {"reserved byte", With({{124, 1}}), {{BlockFinding::Frame, "reserved", 124, ""}}},
        {"tens digit of the feed time",
         FactoryWith(246, "1"),
         {{BlockFinding::Frame, "feedTimeTens", 246, ""}}},
        {"separator in a record", FactoryWith(89, ";"), {{BlockFinding::Frame, "separator", 89, ""}}},
        {"terminator", FactoryWith(263, ","), {{BlockFinding::Frame, "terminator", 263, ""}}},
        {"form length below range",
         FactoryWith(87, "00"),
         {{BlockFinding::FormValue, "form1.formLength", 87, "0"}}},
        {"letters in a load position",
         FactoryWith(41, "0A0"),
         {{BlockFinding::FormValue, "form0.loadPosFrontTractor", 41, "170"}}},
        {"AGA code and form text at once",
         With({{250, '9'}, {165, 'X'}}),
         {{BlockFinding::Repair, "param.agaRetryTime", 249, "１０秒"},
          {BlockFinding::FormValue, "form3.formLength", 165, "406"}}},
    };
    for (const auto& c : cases) {
        const auto findings = qv::CheckBlock(c.block);
        ASSERT_EQ(findings.size(), c.findings.size()) << c.what;
        for (std::size_t i = 0; i < findings.size(); ++i) {
            EXPECT_EQ(findings[i].kind, c.findings[i].kind) << c.what;
            EXPECT_EQ(findings[i].name, c.findings[i].name) << c.what;
            EXPECT_EQ(findings[i].offset, c.findings[i].offset) << c.what;
            EXPECT_EQ(findings[i].value, c.findings[i].value) << c.what;
        }
    }
}

TEST(SettingsCheck, RepairsCarryStoredAndSentBytesAndFrameTheFactoryOnes)
{
    const auto repair = qv::CheckBlock(With({{7, 0xF2}}));
    ASSERT_EQ(repair.size(), 1u);
    EXPECT_EQ(repair[0].stored, std::vector<std::uint8_t>{0xF2});
    EXPECT_EQ(repair[0].expected, std::vector<std::uint8_t>{0x02});

    const auto header = qv::CheckBlock(With({{1, 'p'}}));
    ASSERT_EQ(header.size(), 1u);
    EXPECT_EQ(header[0].stored, (std::vector<std::uint8_t>{0x1C, 'p', '0', ','}));
    EXPECT_EQ(header[0].expected, (std::vector<std::uint8_t>{0x1C, 'o', '0', ','}));
}

TEST(SettingsCheck, DifferencesOutsideSkippedSettingsNameTheirPart)
{
    SettingsBlock a = qv::FactoryDefaults;
    SettingsBlock b = With({{124, 1}, {11, 0x02}});
    Put(b, 77, "02");
    const qv::SettingDef* pressure = qv::FindSetting("select.printPressure");
    const auto outside = qv::DifferencesOutside(a, b, std::span(&pressure, 1));
    ASSERT_EQ(outside.size(), 2u);
    EXPECT_EQ(outside[0].offset, 11u);
    EXPECT_EQ(outside[0].part, "msw3");
    EXPECT_EQ(outside[1].offset, 124u);
    EXPECT_EQ(outside[1].part, "reserved");
    EXPECT_EQ(qv::DifferencesOutside(a, b, {}).size(), 3u) << "and the pressure's second byte";
    EXPECT_EQ(qv::BlockPartName(77), "select.printPressure");
    EXPECT_EQ(qv::BlockPartName(7, 0x04), "msw2.graphicDotCount");
    EXPECT_EQ(qv::BlockPartName(129), "form2.leftMargin");
    EXPECT_EQ(qv::BlockPartName(128), "separator");
}

}  // namespace
