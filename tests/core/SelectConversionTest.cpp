// Function-select page fields: reading with fallbacks and repairs, writing back.
#include <gtest/gtest.h>

#include "BlockText.h"

#include <set>
#include <string>

#include "core/SelectConversion.h"
#include "core/SettingsBlock.h"

namespace
{

using qv::SettingsBlock;

const std::set<std::size_t> kSelectBytes = {26, 67, 68, 70, 72, 74, 75, 77, 78, 80, 81, 83, 85};

qv::SelectValues Loaded(SettingsBlock& b)
{
    qv::SelectValues v;
    qv::LoadSelectValues(b, v);
    return v;
}

SettingsBlock Cycled(SettingsBlock b)
{
    auto v = Loaded(b);
    qv::StoreSelectValues(v, b);
    return b;
}

TEST(SelectFactory, ShowsTheFactorySettings)
{
    SettingsBlock b = qv::FactoryDefaults;
    const auto v = Loaded(b);
    EXPECT_EQ(v.autoPositionCorrection, "9");
    EXPECT_EQ(v.paperThickness, "オート");
    EXPECT_EQ(v.printPressure, "0");
    EXPECT_EQ(v.printPosition, "0");
    EXPECT_EQ(v.reduction, "縮小なし");
    EXPECT_EQ(v.sheetGuideSetPosition, 0) << "左端";
    EXPECT_EQ(v.typeface, 0) << "明朝体";
    EXPECT_EQ(v.copyPower, "標準");
    EXPECT_EQ(v.form, "書式０");
    EXPECT_EQ(b, qv::FactoryDefaults);
}

TEST(SelectStore, WritesOnlyTheSelectBytes)
{
    SettingsBlock source = qv::FactoryDefaults;
    const auto v = Loaded(source);
    SettingsBlock b;
    b.fill(0xA5);
    qv::StoreSelectValues(v, b);
    for (std::size_t at = 0; at < qv::kBlockSize; ++at) {
        if (kSelectBytes.count(at))
            EXPECT_EQ(b[at], qv::FactoryDefaults[at]) << "byte " << at;
        else
            EXPECT_EQ(b[at], 0xA5) << "byte " << at;
    }
}

TEST(SelectStore, UnknownPositionAndReductionTextsLeaveTheirBytes)
{
    SettingsBlock source = qv::FactoryDefaults;
    auto v = Loaded(source);
    v.printPosition = "+2.0";
    v.reduction = "１／２縮小";
    SettingsBlock b;
    b.fill(0xA5);
    qv::StoreSelectValues(v, b);
    for (std::size_t at = 0; at < qv::kBlockSize; ++at) {
        if (kSelectBytes.count(at) && at != 72 && at != 80 && at != 81)
            EXPECT_EQ(b[at], qv::FactoryDefaults[at]) << "byte " << at;
        else
            EXPECT_EQ(b[at], 0xA5) << "byte " << at;
    }
}

TEST(SelectPrintPressure, ReadsSignedCodes)
{
    const std::pair<const char*, const char*> cases[] = {
        {"FA", "-6"}, {"FB", "-5"}, {"FD", "-3"}, {"FF", "-1"}, {"00", "0"}, {"01", "+1"}, {"03", "+3"}};
    for (const auto& [code, text] : cases) {
        SettingsBlock b = FactoryWith(77, code);
        EXPECT_EQ(Loaded(b).printPressure, text) << code;
        EXPECT_EQ(Text(b, 77, 2), code) << "an allowed code is not repaired";
        EXPECT_EQ(Text(Cycled(b), 77, 2), code);
    }
}

TEST(SelectPrintPressure, OutOfRangeCodesAreRepairedAtLoad)
{
    SettingsBlock b = FactoryWith(77, "04");
    auto v = Loaded(b);
    EXPECT_EQ(v.printPressure, "0");
    EXPECT_EQ(b, qv::FactoryDefaults);

    b = FactoryWith(77, "F9");
    v = Loaded(b);
    EXPECT_EQ(v.printPressure, "0");
    EXPECT_EQ(Text(b, 77, 2), "FG");
    qv::StoreSelectValues(v, b);
    EXPECT_EQ(Text(b, 77, 2), "00");
}

TEST(SelectPrintPressure, OtherSignCharacterKeepsThePreviousValue)
{
    SettingsBlock b = FactoryWith(77, "FC");
    qv::SelectValues v;
    qv::LoadSelectValues(b, v);
    ASSERT_EQ(v.printPressure, "-4");
    for (const char* code : {"13", "EA", "f0"}) {
        b = FactoryWith(77, code);
        const SettingsBlock before = b;
        qv::LoadSelectValues(b, v);
        EXPECT_EQ(v.printPressure, "-4") << code;
        EXPECT_EQ(b, before) << code;
    }
}

TEST(SelectPrintPressure, WritesEveryListEntry)
{
    const std::pair<const char*, const char*> cases[] = {
        {"-6", "FA"}, {"-5", "FB"}, {"-4", "FC"}, {"-3", "FD"}, {"-2", "FE"},
        {"-1", "FF"}, {"0", "00"},  {"+1", "01"}, {"+2", "02"}, {"+3", "03"},
    };
    for (const auto& [text, code] : cases) {
        SettingsBlock b = qv::FactoryDefaults;
        auto v = Loaded(b);
        v.printPressure = text;
        qv::StoreSelectValues(v, b);
        EXPECT_EQ(Text(b, 77, 3), std::string(code) + ",") << text;
    }
}

TEST(SelectPrintPosition, ReadsSteps)
{
    const std::pair<const char*, const char*> cases[] = {{"FD", "-1.3"}, {"FE", "-0.8"}, {"FF", "-0.4"},
                                                         {"00", "0"},    {"01", "+0.4"}, {"02", "+0.8"},
                                                         {"03", "+1.3"}};
    for (const auto& [code, text] : cases) {
        SettingsBlock b = FactoryWith(80, code);
        EXPECT_EQ(Loaded(b).printPosition, text) << code;
        EXPECT_EQ(Text(Cycled(b), 80, 2), code);
    }
}

TEST(SelectPrintPosition, OtherStepsReadAsZeroWithoutRepair)
{
    for (const char* code : {"04", "09", "0F", "FA", "FC", "F0", "FG"}) {
        SettingsBlock b = FactoryWith(80, code);
        const SettingsBlock before = b;
        auto v = Loaded(b);
        EXPECT_EQ(v.printPosition, "0") << code;
        EXPECT_EQ(b, before) << code;
        qv::StoreSelectValues(v, b);
        EXPECT_EQ(Text(b, 80, 2), "00") << code;
    }
}

TEST(SelectPrintPosition, OtherSignCharacterKeepsThePreviousValue)
{
    SettingsBlock b = FactoryWith(80, "02");
    qv::SelectValues v;
    qv::LoadSelectValues(b, v);
    ASSERT_EQ(v.printPosition, "+0.8");
    b = FactoryWith(80, "12");
    const SettingsBlock before = b;
    qv::LoadSelectValues(b, v);
    EXPECT_EQ(v.printPosition, "+0.8");
    EXPECT_EQ(b, before);
}

TEST(SelectLists, AutoPositionCorrection)
{
    SettingsBlock b = FactoryWith(67, "30");
    EXPECT_EQ(Loaded(b).autoPositionCorrection, "0");
    EXPECT_EQ(Text(Cycled(b), 67, 3), "00,");
    b = FactoryWith(67, "24");
    EXPECT_EQ(Loaded(b).autoPositionCorrection, "24");
    EXPECT_EQ(Text(Cycled(b), 67, 3), "24,");
    b = FactoryWith(67, "25");
    EXPECT_EQ(Loaded(b).autoPositionCorrection, "0");

    auto v = Loaded(b);
    v.autoPositionCorrection = "3";
    qv::StoreSelectValues(v, b);
    EXPECT_EQ(Text(b, 67, 2), "03");
    v.autoPositionCorrection = "25";
    qv::StoreSelectValues(v, b);
    EXPECT_EQ(Text(b, 67, 2), "00");
}

TEST(SelectLists, PaperThickness)
{
    const std::pair<const char*, const char*> cases[] = {
        {"00", "オート"}, {"01", "1"}, {"07", "7"}, {"12", "12"}, {"13", "オート"}, {"99", "オート"}};
    for (const auto& [code, text] : cases) {
        SettingsBlock b = FactoryWith(74, code);
        EXPECT_EQ(Loaded(b).paperThickness, text) << code;
    }
    EXPECT_EQ(Text(Cycled(FactoryWith(74, "07")), 74, 2), "07");
    EXPECT_EQ(Text(Cycled(FactoryWith(74, "13")), 74, 2), "00");
}

TEST(SelectLists, Reduction)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0", "縮小なし"}, {"1", "２／３縮小"}, {"5", "４／５縮小"}, {"2", "縮小なし"}, {"3", "縮小なし"}};
    for (const auto& [code, text] : cases) {
        SettingsBlock b = FactoryWith(72, code);
        EXPECT_EQ(Loaded(b).reduction, text) << code;
    }
    EXPECT_EQ(Cycled(FactoryWith(72, "3"))[72], '0');
    EXPECT_EQ(Cycled(FactoryWith(72, "5"))[72], '5');
    EXPECT_EQ(Cycled(FactoryWith(72, "1"))[72], '1');
}

TEST(SelectLists, RadioGroups)
{
    SettingsBlock b = FactoryWith(26, "1");
    Put(b, 70, "1");
    auto v = Loaded(b);
    EXPECT_EQ(v.sheetGuideSetPosition, 1);
    EXPECT_EQ(v.typeface, 1);
    EXPECT_EQ(Cycled(b)[26], '1');
    EXPECT_EQ(Cycled(b)[70], '1');

    b = FactoryWith(26, "2");
    Put(b, 70, "9");
    v = Loaded(b);
    EXPECT_EQ(v.sheetGuideSetPosition, 0);
    EXPECT_EQ(v.typeface, 0);
    EXPECT_EQ(Cycled(b)[26], '0');
    EXPECT_EQ(Cycled(b)[70], '0');
}

TEST(SelectLists, CopyPowerAndForm)
{
    const std::pair<char, const char*> copies[] = {
        {'0', "標準"}, {'1', "厚紙"}, {'2', "複写"}, {'3', "標準"}};
    for (const auto& [code, text] : copies) {
        SettingsBlock b = FactoryWith(83, std::string(1, code));
        EXPECT_EQ(Loaded(b).copyPower, text) << code;
    }
    const std::pair<char, const char*> forms[] = {{'0', "書式０"}, {'1', "書式１"}, {'2', "書式２"},
                                                  {'3', "書式３"}, {'4', "書式４"}, {'5', "書式０"}};
    for (const auto& [code, text] : forms) {
        SettingsBlock b = FactoryWith(85, std::string(1, code));
        EXPECT_EQ(Loaded(b).form, text) << code;
    }
    EXPECT_EQ(Cycled(FactoryWith(85, "4"))[85], '4');
    EXPECT_EQ(Cycled(FactoryWith(85, "5"))[85], '0');
    EXPECT_EQ(Cycled(FactoryWith(83, "2"))[83], '2');
    EXPECT_EQ(Cycled(FactoryWith(83, "7"))[83], '0');

    SettingsBlock b = FactoryWith(85, "3");
    auto v = Loaded(b);
    v.form = "書式５";
    v.copyPower = "普通紙";
    Put(b, 83, "2");
    qv::StoreSelectValues(v, b);
    EXPECT_EQ(b[85], '0');
    EXPECT_EQ(b[83], '0');
}

} // namespace
