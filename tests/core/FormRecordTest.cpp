// Form records: parsing, writing, the load-position steps and the copy
// between the block and the record buffers.
#include <gtest/gtest.h>

#include "BlockText.h"

#include <climits>
#include <cstring>
#include <string>

#include "core/FormRecord.h"
#include "core/SettingsBlock.h"

namespace
{

using qv::FormLayout;
using qv::FormRecordBuffer;
using qv::SettingsBlock;

constexpr const char* kFactoryShort = "66,120,120,046,046,054,00,00,";
constexpr const char* kFactoryLong = "66,000,136,120,120,046,046,054,00,00,";

FormRecordBuffer Buffer(const std::string& record)
{
    FormRecordBuffer r{};
    std::memcpy(r.data(), record.data(), std::min(record.size(), r.size()));
    return r;
}

std::string Record(const FormRecordBuffer& r, std::size_t len)
{
    return std::string(r.data(), len);
}

TEST(NearestLoadStep, ExactValuesGiveTheirStep)
{
    const int load[] = {0, 15, 18, 20, 28, 30, 40, 46, 60, 120};
    const int postcard[] = {0, 15, 18, 20, 28, 30, 40, 54, 60, 120};
    for (int step = 0; step < 10; ++step) {
        EXPECT_EQ(qv::NearestLoadStep(load[step], false), step);
        EXPECT_EQ(qv::NearestLoadStep(postcard[step], true), step);
    }
}

TEST(NearestLoadStep, PicksTheNearestStepAndTheLowerOneOnTies)
{
    EXPECT_EQ(qv::NearestLoadStep(24, false), 3); // 20 and 28 tie
    EXPECT_EQ(qv::NearestLoadStep(90, false), 8); // 60 and 120 tie
    EXPECT_EQ(qv::NearestLoadStep(50, false), 7);
    EXPECT_EQ(qv::NearestLoadStep(17, false), 2);
    EXPECT_EQ(qv::NearestLoadStep(16, false), 1);
    EXPECT_EQ(qv::NearestLoadStep(7, false), 0); // 0 and 15: 7 is nearer 0
    EXPECT_EQ(qv::NearestLoadStep(8, false), 1);
    EXPECT_EQ(qv::NearestLoadStep(53, false), 7); // 46 and 60 tie
    EXPECT_EQ(qv::NearestLoadStep(50, true), 7);  // 54
    EXPECT_EQ(qv::NearestLoadStep(47, true), 6);  // 40 and 54 tie
    EXPECT_EQ(qv::NearestLoadStep(57, true), 7);  // 54 and 60 tie
    EXPECT_EQ(qv::NearestLoadStep(170, false), 9);
    EXPECT_EQ(qv::NearestLoadStep(170, true), 9);
}

TEST(NearestLoadStep, ValuesFarOutside)
{
    EXPECT_EQ(qv::NearestLoadStep(-1, false), 0);
    EXPECT_EQ(qv::NearestLoadStep(-5000, true), 0);
    EXPECT_EQ(qv::NearestLoadStep(9999, false), 9);
    // Only a difference below 65535 counts; when none does, step 0 stays.
    EXPECT_EQ(qv::NearestLoadStep(65654, false), 9); // 65534 from 120
    EXPECT_EQ(qv::NearestLoadStep(65655, false), 0); // 65535 from 120
    EXPECT_EQ(qv::NearestLoadStep(INT_MAX, false), 0);
    EXPECT_EQ(qv::NearestLoadStep(INT_MIN, true), 0);
}

TEST(ParseFormRecord, FactoryLongRecord)
{
    const auto v = qv::ParseFormRecord(Buffer(kFactoryLong), FormLayout::Long);
    EXPECT_EQ(v.formLength, 66);
    EXPECT_EQ(v.leftMargin, 0);
    EXPECT_EQ(v.rightMargin, 136);
    const int pos[] = {120, 120, 46, 46, 54};
    const int steps[] = {9, 9, 7, 7, 7};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(v.loadPos[i], pos[i]) << i;
        EXPECT_EQ(v.loadStep[i], steps[i]) << i;
    }
    EXPECT_EQ(v.cutSheetCorrection, 0);
    EXPECT_EQ(v.frontTractorCorrection, 0);
}

TEST(ParseFormRecord, ShortRecordHasFixedMargins)
{
    const auto v = qv::ParseFormRecord(Buffer("12,015,018,028,060,054,07,68,"), FormLayout::Short);
    EXPECT_EQ(v.formLength, 12);
    EXPECT_EQ(v.leftMargin, 0);
    EXPECT_EQ(v.rightMargin, 136);
    const int pos[] = {15, 18, 28, 60, 54};
    const int steps[] = {1, 2, 4, 8, 7};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(v.loadPos[i], pos[i]) << i;
        EXPECT_EQ(v.loadStep[i], steps[i]) << i;
    }
    EXPECT_EQ(v.cutSheetCorrection, 7);
    EXPECT_EQ(v.frontTractorCorrection, 68);
}

TEST(ParseFormRecord, FieldsComeFromTheirOwnPositions)
{
    const auto v = qv::ParseFormRecord(Buffer("01,002,003,004,005,006,007,008,09,10,"), FormLayout::Long);
    EXPECT_EQ(v.formLength, 1);
    EXPECT_EQ(v.leftMargin, 2);
    EXPECT_EQ(v.rightMargin, 3);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(v.loadPos[i], static_cast<int>(i) + 4) << i;
    EXPECT_EQ(v.cutSheetCorrection, 9);
    EXPECT_EQ(v.frontTractorCorrection, 10);
}

TEST(ParseFormRecord, NonDigitsCountAsTheirCodeMinusZero)
{
    // 'A' is 17 above '0', ' ' is 16 below it.
    const auto v = qv::ParseFormRecord(Buffer("A6,120,1 0,X46,046,054,00,0:,"), FormLayout::Short);
    EXPECT_EQ(v.formLength, 17 * 10 + 6);
    EXPECT_EQ(v.loadPos[qv::kLoadFrontTractor], 120);
    EXPECT_EQ(v.loadPos[qv::kLoadRearTractor], 100 - 160 + 0);
    EXPECT_EQ(v.loadPos[qv::kLoadSheetGuide], ('X' - '0') * 100 + 46);
    EXPECT_EQ(v.loadStep[qv::kLoadSheetGuide], 9);
    EXPECT_EQ(v.frontTractorCorrection, 10);
}

TEST(WriteFormRecord, LongLayoutWritesTheDigitPositionsOnly)
{
    // Every non-digit position holds a marker that must survive.
    FormRecordBuffer r;
    r.fill('#');
    qv::FormValues v;
    v.formLength = 5;
    v.leftMargin = 7;
    v.rightMargin = 136;
    v.loadPos = {50, 120, 0, 18, 54};
    v.cutSheetCorrection = 3;
    v.frontTractorCorrection = 68;
    qv::WriteFormRecord(v, FormLayout::Long, r);
    EXPECT_EQ(Record(r, 38), "05#007#136#050#120#000#018#054#03#68##");
}

TEST(WriteFormRecord, ShortLayoutNeverWritesMargins)
{
    FormRecordBuffer r;
    r.fill('#');
    qv::FormValues v;
    v.formLength = 99;
    v.leftMargin = 80;
    v.rightMargin = 81;
    v.loadPos = {170, 1, 46, 60, 5};
    v.cutSheetCorrection = 0;
    v.frontTractorCorrection = 12;
    qv::WriteFormRecord(v, FormLayout::Short, r);
    EXPECT_EQ(Record(r, 38), "99#170#001#046#060#005#00#12##########");
}

TEST(WriteFormRecord, RoundTripsTheFactoryRecords)
{
    auto longRecord = Buffer(kFactoryLong);
    qv::WriteFormRecord(qv::ParseFormRecord(longRecord, FormLayout::Long), FormLayout::Long, longRecord);
    EXPECT_EQ(Record(longRecord, 38), std::string(kFactoryLong) + '\0');

    auto shortRecord = Buffer(kFactoryShort);
    qv::WriteFormRecord(qv::ParseFormRecord(shortRecord, FormLayout::Short), FormLayout::Short, shortRecord);
    EXPECT_EQ(Record(shortRecord, 30), std::string(kFactoryShort) + '\0');
}

TEST(FormIndex, NamesTheFiveForms)
{
    EXPECT_EQ(qv::FormIndex("書式０"), 0);
    EXPECT_EQ(qv::FormIndex("書式４"), 4);
    EXPECT_EQ(qv::FormIndex("書式5"), -1);
    EXPECT_EQ(qv::FormIndex("書式0"), -1);
    EXPECT_EQ(qv::FormIndex(""), -1);
}

TEST(FormRecordSet, LoadsEachRecordWithATerminatingZero)
{
    SettingsBlock b = qv::FactoryDefaults;
    qv::FormRecordSet set;
    set.recordBuffers[0].fill('x');
    set.LoadFromBlock(b);
    EXPECT_EQ(Record(set.recordBuffers[0], 29), kFactoryShort);
    EXPECT_EQ(set.recordBuffers[0][29], '\0');
    for (std::size_t form = 1; form < 5; ++form) {
        EXPECT_EQ(Record(set.recordBuffers[form], 37), kFactoryLong) << form;
        EXPECT_EQ(set.recordBuffers[form][37], '\0') << form;
    }
}

TEST(FormRecordSet, StoresOnlyTheRecordBytes)
{
    qv::FormRecordSet set;
    set.LoadFromBlock(qv::FactoryDefaults);
    SettingsBlock b;
    b.fill(0xA5);
    set.StoreToBlock(b);
    for (std::size_t at = 0; at < qv::kBlockSize; ++at) {
        const bool record = (at >= 38 && at <= 66) || (at >= 87 && at <= 123) || (at >= 126 && at <= 162) ||
                            (at >= 165 && at <= 201) || (at >= 204 && at <= 240);
        EXPECT_EQ(b[at], record ? qv::FactoryDefaults[at] : 0xA5) << "byte " << at;
    }
}

TEST(FormRecordSet, ArbitraryTextIsCopiedThroughUnchanged)
{
    SettingsBlock b = qv::FactoryDefaults;
    for (std::size_t i = 0; i < 37; ++i)
        b[126 + i] = static_cast<std::uint8_t>(0x80 + i * 3); // any bytes, zeros included
    b[140] = 0x00;
    const SettingsBlock before = b;
    qv::FormRecordSet set;
    set.LoadFromBlock(b);
    SettingsBlock target = qv::FactoryDefaults;
    set.StoreToBlock(target);
    EXPECT_EQ(target, before);
}

TEST(FormRecordSet, AnEditedRecordReachesTheBlock)
{
    SettingsBlock b = qv::FactoryDefaults;
    qv::FormRecordSet set;
    set.LoadFromBlock(b);
    auto v = qv::ParseFormRecord(set.recordBuffers[1], FormLayout::Long);
    v.loadPos[qv::kLoadFrontTractor] = 50;
    qv::WriteFormRecord(v, FormLayout::Long, set.recordBuffers[1]);
    set.StoreToBlock(b);
    EXPECT_EQ(Text(b, 87, 37), "66,000,136,050,120,046,046,054,00,00,");
    EXPECT_EQ(b[124], 0x00);

    v = qv::ParseFormRecord(set.recordBuffers[0], FormLayout::Short);
    v.formLength = 72;
    v.cutSheetCorrection = 4;
    qv::WriteFormRecord(v, FormLayout::Short, set.recordBuffers[0]);
    set.StoreToBlock(b);
    EXPECT_EQ(Text(b, 38, 30), "72,120,120,046,046,054,04,00,0");
}

} // namespace
