// The settings catalogue against the block layout and the page conversions:
// each key reads the bytes it names, and every value it accepts survives a
// store and a fresh load.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "BlockText.h"
#include "core/SettingsCatalogue.h"

namespace {

using qv::SettingDef;
using qv::SettingsBlock;
using qv::SettingValue;

std::map<std::string, SettingValue> ShownValues(const SettingsBlock& stored)
{
    std::map<std::string, SettingValue> shown;
    const qv::PanelLoad load = qv::LoadAsPanel(stored);
    for (const SettingDef& def : qv::Settings())
        shown.emplace(def.key, qv::GetValue(def, load.values));
    return shown;
}

// A block edited at one place must change the shown value of exactly one
// key: the one that names that place.
void ExpectOnlyKeyChanges(const SettingsBlock& block, const std::string& key, const SettingValue& expected)
{
    const auto factory = ShownValues(qv::FactoryDefaults);
    const auto shown = ShownValues(block);
    for (const auto& [name, value] : shown) {
        if (name == key)
            EXPECT_EQ(value, expected) << key;
        else
            EXPECT_EQ(value, factory.at(name)) << name << " changed by an edit meant for " << key;
    }
}

TEST(SettingsCatalogue, KeysAreUniqueStableAndInPageOrder)
{
    const std::regex keyForm("(select|param|msw[1-4]|form[0-4])\\.[a-z][A-Za-z0-9]*");
    std::set<std::string_view> keys;
    std::vector<std::string> prefixes;
    for (const SettingDef& def : qv::Settings()) {
        EXPECT_TRUE(std::regex_match(std::string(def.key), keyForm)) << def.key;
        EXPECT_TRUE(keys.insert(def.key).second) << "twice: " << def.key;
        const std::string prefix(def.key.substr(0, def.key.find('.')));
        if (prefixes.empty() || prefixes.back() != prefix)
            prefixes.push_back(prefix);
        EXPECT_EQ(qv::FindSetting(def.key), &def);
    }
    EXPECT_EQ(keys.size(), 99u);  // 9 + 8 + 4 x 10 + 14 + 6 + 8 + 6 + 8
    EXPECT_EQ(prefixes, (std::vector<std::string>{"select", "form0", "form1", "form2", "form3", "form4",
                                                  "param", "msw1", "msw2", "msw3", "msw4"}));
    EXPECT_EQ(qv::FindSetting("param.nothing"), nullptr);
}

TEST(SettingsCatalogue, LabelsArePanelTextsWithoutAccessKeysAndKindsAreComplete)
{
    const std::set<std::string_view> pages = {"機能選択",
                                              "パラメータ設定",
                                              "ＭＳＷ１",
                                              "ＭＳＷ２",
                                              "ＭＳＷ３",
                                              "ＭＳＷ４",
                                              "書式の設定： 書式０",
                                              "書式の設定： 書式１",
                                              "書式の設定： 書式２",
                                              "書式の設定： 書式３",
                                              "書式の設定： 書式４"};
    for (const SettingDef& def : qv::Settings()) {
        EXPECT_TRUE(pages.count(def.page)) << def.key << " on " << def.page;
        EXPECT_FALSE(def.label.empty()) << def.key;
        for (std::string_view text : {def.label, def.group})
            EXPECT_TRUE(text.find("(&") == text.npos && text.find('\n') == text.npos &&
                        (text.empty() || text.back() != ' '))
                << def.key;
        switch (def.kind) {
        case qv::SettingKind::Choice: EXPECT_GE(def.texts.size(), 3u) << def.key; break;
        case qv::SettingKind::OnOff: EXPECT_EQ(def.texts.size(), 2u) << def.key; break;
        case qv::SettingKind::Integer: EXPECT_LT(def.min, def.max) << def.key; break;
        }
        EXPECT_TRUE(qv::Accepts(def, qv::FactoryValue(def))) << def.key;
    }
    EXPECT_EQ(qv::FullLabel(*qv::FindSetting("param.lfPitchRearTractor")), "ＬＦピッチ補正 リアトラクタ");
    EXPECT_EQ(qv::FullLabel(*qv::FindSetting("msw1.dataReceiveMode")), "データ受信方法の変更 （MSW1-4）");
    EXPECT_EQ(qv::FullLabel(*qv::FindSetting("msw2.slashedZeroSingleByte")),
              "１バイトコード系数字ゼロにスラッシュを付ける （MSW2-1）");
    EXPECT_EQ(qv::FindSetting("msw1.printCommandCodes")->texts[1],
              "ＣＲ，ＬＦ，ＶＴ，ＦＦ，ＵＳ，ＥＳＣ ａ，ＥＳＣ ｂ");
}

// Bytes written at a field's place in the factory block, and what the panel
// then shows for it.
struct CraftedField {
    const char* key;
    std::size_t offset;
    const char* bytes;
    SettingValue shown;
};

const CraftedField kCraftedFields[] = {
    {"select.autoPositionCorrection", 67, "17", "17"},
    {"select.paperThickness", 74, "12", "12"},
    {"select.printPressure", 77, "FA", "-6"},
    {"select.printPositionAdjust", 80, "FE", "-0.8"},
    {"select.reduction", 72, "5", "４／５縮小"},
    {"select.sheetGuideSetPosition", 26, "1", "自動"},
    {"select.typeface", 70, "1", "ゴシック体"},
    {"select.copyPower", 83, "2", "複写"},
    {"select.selectedForm", 85, "3", "書式３"},
    {"param.headCentringCutSheet", 28, "55", 55},
    {"param.headCentringFrontTractor", 31, "12", 12},
    {"param.headCentringRearTractor", 34, "120", 120},
    {"param.kanjiCodeTable", 20, "2", "JIS1990年版"},
    {"param.font1", 16, "4", "OCR-B"},
    {"param.font2", 18, "1", "イタリック"},
    {"param.agaRetryTime", 249, "07", "再実行なし"},
    {"param.autoReturnTime", 243, "08", "８秒"},
    {"param.postcardMode", 24, "1", "ON"},
    {"param.sheetGuideFeedTime", 247, "5", 5},
    {"param.lfPitchSheetGuide", 258, "FB", "-5"},
    {"param.lfPitchSheetFeeder", 261, "04", "+4"},
    {"param.lfPitchFrontTractor", 252, "FF", "-1"},
    {"param.lfPitchRearTractor", 255, "03", "+3"},
};

TEST(SettingsCatalogue, EachFunctionAndParameterKeyReadsItsOwnBytes)
{
    for (const CraftedField& c : kCraftedFields)
        ExpectOnlyKeyChanges(FactoryWith(c.offset, c.bytes), c.key, c.shown);
}

// Memory switches by byte and bit, as the block layout gives them.
struct SwitchPlace {
    const char* key;
    std::size_t byte;
    int bit;
};

const SwitchPlace kSwitchPlaces[] = {
    {"msw1.dataReceiveMode", 4, 3},
    {"msw1.dc1Dc3Codes", 5, 0},
    {"msw1.autoCarriageReturn", 5, 1},
    {"msw1.printCommandCodes", 5, 2},
    {"msw1.crCodeFunction", 5, 3},
    {"msw2.slashedZeroSingleByte", 7, 0},
    {"msw2.sheetGuidePaperOutDetection", 7, 1},
    {"msw2.graphicDotCount", 7, 2},
    {"msw2.quietMode", 7, 3},
    {"msw2.printMode", 8, 0},
    {"msw2.dataBits", 8, 1},
    {"msw2.printColumns", 8, 2},
    {"msw2.printDirection", 8, 3},
    {"msw3.pcJohoMode", 10, 1},
    {"msw3.loadPositionMemory", 10, 2},
    {"msw3.sheetFeederLoadCodes", 10, 3},
    {"msw3.autoCutPositionFeed", 11, 0},
    {"msw3.slashedZeroDoubleByte", 11, 2},
    {"msw3.perforationSkip", 11, 3},
    {"msw4.headIdleStrikePrevention", 13, 0},
    {"msw4.sheetFeederLoadControl", 13, 1},
    {"msw4.cutPositionFeedAmount", 13, 2},
    {"msw4.dotColumnPrintDirection", 13, 3},
    {"msw4.highSpeedPrinting", 14, 0},
    {"msw4.sheetGuideEjectDirection", 14, 1},
    {"msw4.sheetFeederEjectDirection", 14, 2},
    {"msw4.sheetGuideLoading", 14, 3},
};

TEST(SettingsCatalogue, EachSwitchKeyReadsItsOwnBit)
{
    for (const SwitchPlace& p : kSwitchPlaces) {
        const SettingDef& def = *qv::FindSetting(p.key);
        SettingsBlock block = qv::FactoryDefaults;
        const bool wasOn = (block[p.byte] >> p.bit) & 1;
        block[p.byte] = static_cast<std::uint8_t>(block[p.byte] ^ (1 << p.bit));
        ExpectOnlyKeyChanges(block, p.key, std::string(def.texts[wasOn ? 0 : 1]));
    }
    SettingsBlock block = qv::FactoryDefaults;
    block[4] = 0x05;
    ExpectOnlyKeyChanges(block, "msw1.internationalCharacterSet", "スウェーデン");
}

TEST(SettingsCatalogue, EachFormKeyReadsItsDigitsInTheRecord)
{
    // Field starts within the record: short layout for form 0, long for 1-4.
    const std::map<std::string, std::pair<int, int>> shortPlaces = {
        {"formLength", {0, 2}},          {"loadPosFrontTractor", {3, 3}},    {"loadPosRearTractor", {7, 3}},
        {"loadPosSheetGuide", {11, 3}},  {"loadPosSheetFeeder", {15, 3}},    {"loadPosPostcard", {19, 3}},
        {"cutSheetCorrection", {23, 2}}, {"frontTractorCorrection", {26, 2}}};
    const std::map<std::string, std::pair<int, int>> longPlaces = {
        {"formLength", {0, 2}},          {"leftMargin", {3, 3}},
        {"rightMargin", {7, 3}},         {"loadPosFrontTractor", {11, 3}},
        {"loadPosRearTractor", {15, 3}}, {"loadPosSheetGuide", {19, 3}},
        {"loadPosSheetFeeder", {23, 3}}, {"loadPosPostcard", {27, 3}},
        {"cutSheetCorrection", {31, 2}}, {"frontTractorCorrection", {34, 2}}};
    const std::size_t starts[] = {38, 87, 126, 165, 204};
    int checked = 0;
    for (int form = 0; form < 5; ++form)
        for (const auto& [field, place] : form == 0 ? shortPlaces : longPlaces) {
            const std::string key = "form" + std::to_string(form) + "." + field;
            const std::string digits = place.second == 2 ? "07" : "123";
            ExpectOnlyKeyChanges(FactoryWith(starts[form] + static_cast<std::size_t>(place.first), digits),
                                 key, std::stoi(digits));
            ++checked;
        }
    EXPECT_EQ(checked, 48);
}

// Every value the catalogue accepts, set on a started panel, stored, and
// read back by a panel that loads the result.
std::vector<SettingValue> AcceptedValues(const SettingDef& def)
{
    std::vector<SettingValue> values;
    if (def.kind == qv::SettingKind::Integer)
        return {def.min, (def.min + def.max) / 2, def.max};
    for (std::string_view text : def.texts)
        values.emplace_back(std::string(text));
    return values;
}

TEST(SettingsCatalogue, EveryAcceptedValueSurvivesStoreAndLoad)
{
    for (const SettingDef& def : qv::Settings())
        for (const SettingValue& value : AcceptedValues(def)) {
            qv::PanelValues values = qv::StartupPanelValues();
            qv::SetValue(def, values, value);
            SettingsBlock block = qv::FactoryDefaults;
            values.Store(block);
            EXPECT_EQ(qv::GetValue(def, qv::LoadAsPanel(block).values), value)
                << def.key << " " << qv::ValueText(value);
        }
}

// The catalogue checks itself: each value a setting accepts, set on a
// started panel and stored, changes only the bits of the setting's span and
// is what a panel that loads the result shows. A byte of the span, altered,
// changes the value shown or the load repairs it.
TEST(SettingsCatalogue, EachValueChangesOnlyItsOwnSpanAndReadsBack)
{
    SettingsBlock base = qv::FactoryDefaults;
    qv::StartupPanelValues().Store(base);
    for (const SettingDef& def : qv::Settings()) {
        std::vector<SettingValue> accepted;
        for (int n = def.min; def.kind == qv::SettingKind::Integer && n <= def.max; ++n)
            accepted.emplace_back(n);
        for (std::string_view text : def.texts)
            accepted.emplace_back(std::string(text));
        for (const SettingValue& value : accepted) {
            qv::PanelValues values = qv::StartupPanelValues();
            qv::SetValue(def, values, value);
            SettingsBlock block = base;
            values.Store(block);
            for (std::size_t at = 0; at < block.size(); ++at) {
                const bool own = at - def.span.offset < def.span.length;  // wraps below the span
                EXPECT_EQ((block[at] ^ base[at]) & ~(own ? def.span.mask : 0), 0)
                    << def.key << " = " << qv::ValueText(value) << ": byte " << at;
            }
            EXPECT_EQ(qv::GetValue(def, qv::LoadAsPanel(block).values), value) << def.key;
        }
        // And each byte of the span (each bit of a mask) is the setting's.
        const SettingValue shown = qv::GetValue(def, qv::LoadAsPanel(base).values);
        for (std::size_t at = def.span.offset; at < def.span.offset + def.span.length; ++at)
            for (unsigned bits = def.span.mask == 0xFF ? 1 : def.span.mask; bits; bits &= bits - 1) {
                SettingsBlock altered = base;
                altered[at] = static_cast<std::uint8_t>(altered[at] ^ (bits & (~bits + 1)));
                const qv::PanelLoad load = qv::LoadAsPanel(altered);
                EXPECT_TRUE(qv::GetValue(def, load.values) != shown || load.block[at] != altered[at])
                    << def.key << ": altering byte " << at << " neither shows nor is repaired";
            }
    }
}

TEST(SettingsCatalogue, AcceptsOnlyTheSettingsTypeListAndRange)
{
    const SettingDef& font = *qv::FindSetting("param.font1");
    const SettingDef& centring = *qv::FindSetting("param.headCentringRearTractor");
    const SettingDef& postcard = *qv::FindSetting("param.postcardMode");
    const struct {
        const SettingDef& def;
        SettingValue value;
        bool accepted;
    } cases[] = {
        {font, std::string("クーリエ"), true},
        {font, std::string("明朝"), false},
        {font, std::string(""), false},
        {font, 2, false},
        {centring, 68, true},
        {centring, 126, true},
        {centring, 67, false},
        {centring, 127, false},
        {centring, std::string("96"), false},
        {postcard, std::string("ON"), true},
        {postcard, std::string("on"), false},
        {postcard, 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::Accepts(c.def, c.value), c.accepted) << c.def.key << " " << qv::ValueText(c.value);
    EXPECT_EQ(qv::AllowedText(centring), "68 から 126 までの整数");
    EXPECT_EQ(qv::AllowedText(postcard), "\"OFF\", \"ON\" のいずれか");
}

TEST(SettingsCatalogue, AnUnchangedFormValueKeepsItsRecordBytes)
{
    // Form 2's record holds letters where the dialog would write digits.
    SettingsBlock block = FactoryWith(126, "6A");
    qv::PanelValues values = qv::StartupPanelValues();
    values.Load(block);
    const SettingDef& length = *qv::FindSetting("form2.formLength");
    qv::SetValue(length, values, qv::GetValue(length, values));
    values.Store(block);
    EXPECT_EQ(Text(block, 126, 2), "6A");

    qv::SetValue(length, values, 12);
    values.Store(block);
    EXPECT_EQ(Text(block, 126, 2), "12");
}

TEST(SettingsCatalogue, MarginsOfLongFormsMustBeInOrder)
{
    qv::PanelValues values = qv::StartupPanelValues();
    EXPECT_FALSE(qv::MarginConflict(values, 3));
    qv::SetValue(*qv::FindSetting("form3.leftMargin"), values, 80);
    qv::SetValue(*qv::FindSetting("form3.rightMargin"), values, 80);
    const auto conflict = qv::MarginConflict(values, 3);
    ASSERT_TRUE(conflict);
    EXPECT_EQ(conflict->first, "form3.leftMargin");
    EXPECT_EQ(conflict->second, "form3.rightMargin");
    EXPECT_FALSE(qv::MarginConflict(values, 0)) << "form 0 has no margins";
    qv::SetValue(*qv::FindSetting("form3.rightMargin"), values, 81);
    EXPECT_FALSE(qv::MarginConflict(values, 3));
}

TEST(SettingsCatalogue, FactoryValuesAreThoseOfAFreshPanel)
{
    EXPECT_EQ(qv::FactoryValue(*qv::FindSetting("select.autoPositionCorrection")),
              SettingValue(std::string("9")));
    EXPECT_EQ(qv::FactoryValue(*qv::FindSetting("param.headCentringFrontTractor")), SettingValue(36));
    EXPECT_EQ(qv::FactoryValue(*qv::FindSetting("msw4.cutPositionFeedAmount")),
              SettingValue(std::string("TOF＋固定長")));
    EXPECT_EQ(qv::FactoryValue(*qv::FindSetting("form4.rightMargin")), SettingValue(136));
}

}  // namespace
