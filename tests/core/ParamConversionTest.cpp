// Parameter page fields: reading with fallbacks and repairs, writing back.
#include <gtest/gtest.h>

#include "BlockText.h"

#include <set>
#include <string>

#include "core/ParamConversion.h"
#include "core/SettingsBlock.h"

namespace
{

using qv::SettingsBlock;

const std::set<std::size_t> kParamBytes = {16,  18,  20,  24,  28,  29,  31,  32,  34,  35,  36,  243,
                                           244, 247, 249, 250, 252, 253, 255, 256, 258, 259, 261, 262};

qv::ParamValues Loaded(SettingsBlock& b)
{
    qv::ParamValues v;
    qv::LoadParamValues(b, v);
    return v;
}

// Loads the block, stores it again into itself and returns it.
SettingsBlock Cycled(SettingsBlock b)
{
    auto v = Loaded(b);
    qv::StoreParamValues(v, b);
    return b;
}

TEST(ParamFactory, ShowsTheFactorySettings)
{
    SettingsBlock b = qv::FactoryDefaults;
    const auto v = Loaded(b);
    EXPECT_EQ(v.font1, "標準");
    EXPECT_EQ(v.font2, "標準");
    EXPECT_EQ(v.kanjiCodeTable, "JIS1978年版");
    EXPECT_EQ(v.headCentringFrontTractor, 36);
    EXPECT_EQ(v.headCentringCutSheet, 40);
    EXPECT_EQ(v.postcardMode, 0);
    EXPECT_EQ(v.headCentringRearTractor, 96);
    EXPECT_EQ(v.sheetGuideFeedTime, 2);
    EXPECT_EQ(v.autoReturnTime, "１５秒");
    EXPECT_EQ(v.agaRetryTime, "１０秒");
    for (const auto& pitch : v.lfPitch)
        EXPECT_EQ(pitch, "0");
    EXPECT_EQ(b, qv::FactoryDefaults);
}

TEST(ParamStore, WritesOnlyTheParameterBytes)
{
    SettingsBlock source = qv::FactoryDefaults;
    const auto v = Loaded(source);
    SettingsBlock b;
    b.fill(0xA5);
    qv::StoreParamValues(v, b);
    for (std::size_t at = 0; at < qv::kBlockSize; ++at) {
        if (kParamBytes.count(at))
            EXPECT_EQ(b[at], qv::FactoryDefaults[at]) << "byte " << at;
        else
            EXPECT_EQ(b[at], 0xA5) << "byte " << at;
    }
}

TEST(ParamLists, FontCodesAndFallback)
{
    const std::pair<char, const char*> cases[] = {{'0', "標準"},     {'1', "イタリック"}, {'2', "クーリエ"},
                                                  {'3', "ゴシック"}, {'4', "OCR-B"},      {'5', "標準"},
                                                  {'A', "標準"},     {'/', "標準"}};
    for (const auto& [code, font] : cases) {
        SettingsBlock b = FactoryWith(18, std::string(1, code));
        EXPECT_EQ(Loaded(b).font2, font) << code;
    }
    EXPECT_EQ(Cycled(FactoryWith(16, "7"))[16], '0');
    EXPECT_EQ(Cycled(FactoryWith(16, "4"))[16], '4');

    SettingsBlock b = qv::FactoryDefaults;
    auto v = Loaded(b);
    v.font1 = "クーリエ";
    v.font2 = "Helvetica";
    b[18] = '3';
    qv::StoreParamValues(v, b);
    EXPECT_EQ(b[16], '2');
    EXPECT_EQ(b[18], '0');
}

TEST(ParamLists, KanjiCodeTableAndPostcardMode)
{
    SettingsBlock b = FactoryWith(20, "2");
    EXPECT_EQ(Loaded(b).kanjiCodeTable, "JIS1990年版");
    b = FactoryWith(20, "1");
    EXPECT_EQ(Loaded(b).kanjiCodeTable, "JIS1983年版");
    EXPECT_EQ(Cycled(FactoryWith(20, "3"))[20], '0');

    b = FactoryWith(24, "1");
    EXPECT_EQ(Loaded(b).postcardMode, 1);
    EXPECT_EQ(Cycled(b)[24], '1');
    b = FactoryWith(24, "2");
    EXPECT_EQ(Loaded(b).postcardMode, 0);
    EXPECT_EQ(Cycled(b)[24], '0');
}

TEST(ParamCentring, OutOfRangeValuesFallBack)
{
    struct Case {
        std::size_t at;
        const char* text;
        int shown;
    };
    const Case cases[] = {
        {28, "05", 40},  {28, "09", 40},  {28, "10", 10},  {28, "68", 68},   {28, "69", 40},
        {31, "09", 40},  {31, "10", 10},  {31, "68", 68},  {31, "99", 40},   {31, "A0", 40},
        {34, "200", 96}, {34, "067", 96}, {34, "068", 68}, {34, "126", 126}, {34, "127", 96},
    };
    for (const auto& c : cases) {
        SettingsBlock b = FactoryWith(c.at, c.text);
        const auto v = Loaded(b);
        const int shown = c.at == 28   ? v.headCentringCutSheet
                          : c.at == 31 ? v.headCentringFrontTractor
                                       : v.headCentringRearTractor;
        EXPECT_EQ(shown, c.shown) << c.at << " " << c.text;
    }
    EXPECT_EQ(Text(Cycled(FactoryWith(34, "200")), 34, 4), "096,");
    EXPECT_EQ(Text(Cycled(FactoryWith(28, "05")), 28, 3), "40,");
}

TEST(ParamCentring, PendingValuesAreWrittenAsHeld)
{
    SettingsBlock b = qv::FactoryDefaults;
    auto v = Loaded(b);
    v.headCentringCutSheet = 5;
    v.headCentringRearTractor = 7;
    qv::StoreParamValues(v, b);
    EXPECT_EQ(Text(b, 28, 3), "05,");
    EXPECT_EQ(Text(b, 34, 4), "007,");
}

TEST(ParamTimes, AutoReturnTime)
{
    const std::pair<const char*, const char*> cases[] = {
        {"00", "自動戻り無し"}, {"08", "８秒"}, {"15", "１５秒"}, {"10", "１５秒"}, {"80", "１５秒"}};
    for (const auto& [code, text] : cases) {
        SettingsBlock b = FactoryWith(243, code);
        EXPECT_EQ(Loaded(b).autoReturnTime, text) << code;
    }
    EXPECT_EQ(Text(Cycled(FactoryWith(243, "08")), 243, 2), "08");
    EXPECT_EQ(Text(Cycled(FactoryWith(243, "00")), 243, 2), "00");
    EXPECT_EQ(Text(Cycled(FactoryWith(243, "10")), 243, 2), "15");

    SettingsBlock b = qv::FactoryDefaults;
    auto v = Loaded(b);
    v.autoReturnTime = "３０秒";
    Put(b, 243, "08");
    qv::StoreParamValues(v, b);
    EXPECT_EQ(Text(b, 243, 2), "15");
}

TEST(ParamTimes, FeedTimeUsesOnlyTheUnitsDigit)
{
    const std::pair<const char*, int> cases[] = {{"02", 2}, {"05", 5}, {"15", 5},
                                                 {"01", 2}, {"06", 2}, {"0X", 2}};
    for (const auto& [code, seconds] : cases) {
        SettingsBlock b = FactoryWith(246, code);
        EXPECT_EQ(Loaded(b).sheetGuideFeedTime, seconds) << code;
    }

    // The tens digit is never written, through any number of edits.
    SettingsBlock b = FactoryWith(246, "1");
    auto v = Loaded(b);
    for (int seconds : {3, 5, 2, 4}) {
        v.sheetGuideFeedTime = seconds;
        qv::StoreParamValues(v, b);
        EXPECT_EQ(b[246], '1');
        EXPECT_EQ(b[247], '0' + seconds);
    }
}

TEST(ParamTimes, AgaRetryTime)
{
    const char* const texts[] = {"０秒",     "５秒",     "１０秒",   "６０秒",
                                 "１８０秒", "３００秒", "８１０秒", "再実行なし"};
    for (int code = 0; code < 8; ++code) {
        SettingsBlock b = FactoryWith(249, "0" + std::to_string(code));
        EXPECT_EQ(Loaded(b).agaRetryTime, texts[code]) << code;
        EXPECT_EQ(Text(Cycled(b), 249, 2), "0" + std::to_string(code));
    }
    for (const char* code : {"09", "10", "17", "-1"}) {
        SettingsBlock b = FactoryWith(249, code);
        EXPECT_EQ(Loaded(b).agaRetryTime, "１０秒") << code;
        EXPECT_EQ(Text(Cycled(b), 249, 2), "02") << code;
    }

    SettingsBlock b = qv::FactoryDefaults;
    auto v = Loaded(b);
    v.agaRetryTime = "再実行なし";
    Put(b, 249, "X9"); // the tens digit is written as 0 whatever was there
    qv::StoreParamValues(v, b);
    EXPECT_EQ(Text(b, 249, 2), "07");
    v.agaRetryTime = "２０秒";
    qv::StoreParamValues(v, b);
    EXPECT_EQ(Text(b, 249, 2), "02");
}

TEST(ParamLfPitch, FieldsAreInBlockOrder)
{
    // Block order: front tractor 252, rear tractor 255, sheet guide 258, sheet feeder 261.
    SettingsBlock b = qv::FactoryDefaults;
    Put(b, 252, "01,02,03,FF");
    const auto v = Loaded(b);
    EXPECT_EQ(v.lfPitch[qv::kLfFrontTractor], "+1");
    EXPECT_EQ(v.lfPitch[qv::kLfRearTractor], "+2");
    EXPECT_EQ(v.lfPitch[qv::kLfSheetGuide], "+3");
    EXPECT_EQ(v.lfPitch[qv::kLfSheetFeeder], "-1");
    EXPECT_EQ(Text(Cycled(b), 252, 11), "01,02,03,FF");
}

TEST(ParamLfPitch, WritesEveryListEntry)
{
    const std::pair<const char*, const char*> cases[] = {
        {"-5", "FB"}, {"-4", "FC"}, {"-3", "FD"}, {"-2", "FE"}, {"-1", "FF"}, {"0", "00"},
        {"+1", "01"}, {"+2", "02"}, {"+3", "03"}, {"+4", "04"}, {"+5", "05"}, {"+6", "00"},
    };
    for (const auto& [text, code] : cases) {
        SettingsBlock b = qv::FactoryDefaults;
        auto v = Loaded(b);
        v.lfPitch[qv::kLfSheetFeeder] = text;
        qv::StoreParamValues(v, b);
        EXPECT_EQ(Text(b, 261, 2), code) << text;
        EXPECT_EQ(b[263], '.');

        SettingsBlock again = b;
        EXPECT_EQ(Loaded(again).lfPitch[qv::kLfSheetFeeder], std::string(code) == "00" ? "0" : text);
    }
}

TEST(ParamLfPitch, BadDigitIsRepairedInTheBlockAtOnce)
{
    SettingsBlock b = FactoryWith(258, "09");
    EXPECT_EQ(Loaded(b).lfPitch[qv::kLfSheetGuide], "0");
    EXPECT_EQ(Text(b, 258, 2), "00");
    EXPECT_EQ(b, qv::FactoryDefaults) << "nothing but the digit changes";

    b = FactoryWith(252, "06");
    EXPECT_EQ(Loaded(b).lfPitch[qv::kLfFrontTractor], "0");
    EXPECT_EQ(Text(b, 252, 2), "00");

    b = FactoryWith(255, "05");
    EXPECT_EQ(Loaded(b).lfPitch[qv::kLfRearTractor], "+5");
    EXPECT_EQ(Text(b, 255, 2), "05");
}

TEST(ParamLfPitch, BadLetterLeavesGUntilTheNextStore)
{
    SettingsBlock b = FactoryWith(258, "FA");
    auto v = Loaded(b);
    EXPECT_EQ(v.lfPitch[qv::kLfSheetGuide], "0");
    EXPECT_EQ(Text(b, 258, 2), "FG");
    qv::StoreParamValues(v, b);
    EXPECT_EQ(Text(b, 258, 2), "00");

    b = FactoryWith(261, "F0");
    EXPECT_EQ(Loaded(b).lfPitch[qv::kLfSheetFeeder], "0");
    EXPECT_EQ(Text(b, 261, 2), "FG");

    b = FactoryWith(261, "FB");
    EXPECT_EQ(Loaded(b).lfPitch[qv::kLfSheetFeeder], "-5");
    EXPECT_EQ(Text(b, 261, 2), "FB");
}

TEST(ParamLfPitch, OtherSignCharacterKeepsThePreviousValue)
{
    SettingsBlock b = FactoryWith(258, "FE");
    qv::ParamValues v;
    qv::LoadParamValues(b, v);
    ASSERT_EQ(v.lfPitch[qv::kLfSheetGuide], "-2");

    for (const char* code : {"19", "G1", "f1", " 0"}) {
        b = FactoryWith(258, code);
        const SettingsBlock before = b;
        qv::LoadParamValues(b, v);
        EXPECT_EQ(v.lfPitch[qv::kLfSheetGuide], "-2") << code;
        EXPECT_EQ(b, before) << code;
    }
}

} // namespace
