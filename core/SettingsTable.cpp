#include "SettingsTable.h"

#include <array>
#include <utility>

#include "FieldLists.h"

namespace qv::table {

namespace {

using K = SettingKind;

constexpr std::string_view kSelectPage = "機能選択";
constexpr std::string_view kParamPage = "パラメータ設定";
constexpr std::array<std::string_view, 4> kMswPages = {"ＭＳＷ１", "ＭＳＷ２", "ＭＳＷ３", "ＭＳＷ４"};

template <std::size_t N> using Texts = std::array<std::string_view, N>;

constexpr Texts<2> kOffOn = {"OFF", "ON"};
constexpr Texts<2> kSetPositions = {"左端", "自動"};
constexpr Texts<2> kTypefaces = {"明朝体", "ゴシック体"};

// The memory switch pages: radio pairs and check boxes, switch by switch.
struct SwitchRow {
    std::string_view key;
    int bank, index;
    std::string_view label, switchName;
    Texts<2> texts;
};
// clang-format off
constexpr SwitchRow kSwitches[] = {
    {"msw1.dataReceiveMode",             1, 3, "データ受信方法の変更",                                    "（MSW1-4）", {"従来互換", "高速受信"}},
    {"msw1.dc1Dc3Codes",                 1, 4, "DC1/DC3コード処理の切り替え",                             "（MSW1-5）", {"有効", "無効"}},
    {"msw1.autoCarriageReturn",          1, 5, "自動復改の切り替え",                                      "（MSW1-6）", {"復帰改行", "復帰のみ"}},
    {"msw1.printCommandCodes",           1, 6, "印刷指令コードの切り替え",                                "（MSW1-7）", {"ＣＲのみ", "ＣＲ，ＬＦ，ＶＴ，ＦＦ，ＵＳ，ＥＳＣ ａ，ＥＳＣ ｂ"}},
    {"msw1.crCodeFunction",              1, 7, "CRコードの機能の切り替え",                                "（MSW1-8）", {"復帰のみ", "復帰改行"}},
    {"msw2.slashedZeroSingleByte",       2, 0, "１バイトコード系数字ゼロにスラッシュを付ける （MSW2-1）", "",           kOffOn},
    {"msw2.sheetGuidePaperOutDetection", 2, 1, "シートガイドの用紙無し検出",                              "（MSW2-2）", {"印刷時", "常時"}},
    {"msw2.graphicDotCount",             2, 2, "ドット対応グラフィックドット数",                          "（MSW2-3）", {"ネイティブモード", "コピーモード"}},
    {"msw2.quietMode",                   2, 3, "クワイエットモード",                                      "（MSW2-4）", {"無効", "有効"}},
    {"msw2.printMode",                   2, 4, "印刷モードの切り替え",                                    "（MSW2-5）", {"ＨＤパイカ", "ＨＳパイカ"}},
    {"msw2.dataBits",                    2, 5, "７／８ビットデータの切り替え",                            "（MSW2-6）", {"８ビット", "７ビット"}},
    {"msw2.printColumns",                2, 6, "印刷桁数の切り替え",                                      "（MSW2-7）", {"１３６桁", "８０桁"}},
    {"msw2.printDirection",              2, 7, "印刷方向の切り替え",                                      "（MSW2-8）", {"両方向最短", "片方向"}},
    {"msw3.pcJohoMode",                  3, 1, "PC/情処モード切り替え",                                   "（MSW3-2）", {"PCモード", "情処モード"}},
    {"msw3.loadPositionMemory",          3, 2, "用紙吸入位置の記憶",                                      "（MSW3-3）", {"記憶する", "記憶しない"}},
    {"msw3.sheetFeederLoadCodes",        3, 3, "シートフィーダの吸入コード",                              "（MSW3-4）", {"ＥＳＣ ａのみ", "ＥＳＣ ａ，ＬＦ，ＵＳ，ＶＴ"}},
    {"msw3.autoCutPositionFeed",         3, 4, "自動カット位置送り機能",                                  "（MSW3-5）", {"無効", "有効"}},
    {"msw3.slashedZeroDoubleByte",       3, 6, "２バイトコード系数字ゼロにスラッシュを付ける （MSW3-7）", "",           kOffOn},
    {"msw3.perforationSkip",             3, 7, "ミシン目スキップ",                                        "（MSW3-8）", {"スキップしない", "スキップする"}},
    {"msw4.headIdleStrikePrevention",    4, 0, "印刷ヘッド空打ち防止機能",                                "（MSW4-1）", {"有効", "無効"}},
    {"msw4.sheetFeederLoadControl",      4, 1, "シートフィーダの用紙吸入制御",                            "（MSW4-2）", {"スループット優先", "斜行補正優先"}},
    {"msw4.cutPositionFeedAmount",       4, 2, "カット位置送り機能の送り量",                              "（MSW4-3）", {"固定長", "TOF＋固定長"}},
    {"msw4.dotColumnPrintDirection",     4, 3, "ドット列印刷モードの印刷方向",                            "（MSW4-4）", {"片方向", "両方向"}},
    {"msw4.highSpeedPrinting",           4, 4, "高速印刷モード",                                          "（MSW4-5）", {"通常印刷", "高速印刷"}},
    {"msw4.sheetGuideEjectDirection",    4, 5, "シートガイドの排出方向",                                  "（MSW4-6）", {"排出方向指定", "後方排出"}},
    {"msw4.sheetFeederEjectDirection",   4, 6, "シートフィーダの排出方向",                                "（MSW4-7）", {"排出方向指定", "後方排出"}},
    {"msw4.sheetGuideLoading",           4, 7, "シートガイドのローディング方法",                          "（MSW4-8）", {"オート", "マニュアル"}},
};
// clang-format on

// The form setup dialog's fields, in FormPart order; their ranges and
// record places are the form record's.
struct FormRow {
    std::string_view name;  // key after "form<N>."
    std::string_view group, label, unit;
};
// clang-format off
constexpr FormRow kFormFields[] = {
    {"loadPosFrontTractor",    "吸入位置", "フロントトラクタ",         "/120インチ"},
    {"loadPosRearTractor",     "吸入位置", "リアトラクタ",             "/120インチ"},
    {"loadPosSheetGuide",      "吸入位置", "シートガイド",             "/120インチ"},
    {"loadPosSheetFeeder",     "吸入位置", "シートフィーダ",           "/120インチ"},
    {"loadPosPostcard",        "吸入位置", "はがき",                   "/120インチ"},
    {"formLength",             "",         "用紙長",                   "行"},
    {"leftMargin",             "",         "レフトマージン幅",         "桁"},
    {"rightMargin",            "",         "ライトマージン幅",         "桁"},
    {"frontTractorCorrection", "",         "フロントトラクタ位置補正", "桁"},
    {"cutSheetCorrection",     "",         "カット紙位置補正",         "桁"},
};
// clang-format on
static_assert(std::size(kFormFields) == kFormParts.size());

bool IsMargin(FormPart part) { return part == FormPart::LeftMargin || part == FormPart::RightMargin; }

SettingDef Text(std::string_view key, std::string_view page, std::string_view group, std::string_view label,
                std::string_view unit, std::span<const std::string_view> texts, SettingBinding where,
                BlockSpan span)
{
    return {key, page, group, label, "", unit, K::Choice, texts, 0, 0, where, span};
}

SettingDef Number(std::string_view key, std::string_view group, std::string_view label, std::string_view unit,
                  int min, int max, int ParamValues::*member, BlockSpan span)
{
    return {key, kParamPage, group, label, "", unit, K::Integer, {}, min, max, binding::ParamNumber{member},
            span};
}

SettingDef OnOff(std::string_view key, std::string_view page, std::string_view label,
                 std::span<const std::string_view> texts, SettingBinding where, BlockSpan span)
{
    return {key, page, "", label, "", "", K::OnOff, texts, 0, 0, where, span};
}

std::vector<SettingDef> SelectSettings()
{
    using SV = SelectValues;
    using binding::SelectIndex;
    using binding::SelectText;
    const auto P = kSelectPage;
    // clang-format off
    return {
        Text("select.autoPositionCorrection", P, "", "自動位置補正の調整", "",   kAutoPositionTexts,   SelectText{&SV::autoPositionCorrection}, {off::autoPositionCorrection, 2}),
        Text("select.paperThickness",         P, "", "用紙厚調整の設定",   "",   kPaperThicknessTexts, SelectText{&SV::paperThickness},         {off::paperThickness, 2}),
        Text("select.printPressure",          P, "", "印刷圧微調整",       "",   kPrintPressureTexts,  SelectText{&SV::printPressure},          {off::printPressure, 2}),
        Text("select.printPositionAdjust",    P, "", "印刷位置の微調整",   "mm", kPrintPositionTexts,  SelectText{&SV::printPosition},          {off::printPositionAdjust, 2}),
        Text("select.reduction",              P, "", "縮小印刷",           "",   kReductionTexts,      SelectText{&SV::reduction},              {off::reduction, 1}),
        OnOff("select.sheetGuideSetPosition", P, "シートガイド用紙セット位置",   kSetPositions,        SelectIndex{&SV::sheetGuideSetPosition}, {off::sheetGuideSetPosition, 1}),
        OnOff("select.typeface",              P, "書体選択",                     kTypefaces,           SelectIndex{&SV::typeface},              {off::typeface, 1}),
        Text("select.copyPower",              P, "", "複写力選択",         "",   kCopyPowerTexts,      SelectText{&SV::copyPower},              {off::copyPower, 1}),
        Text("select.selectedForm",           P, "", "書式選択",           "",   kFormNames,           SelectText{&SV::form},                   {off::selectedForm, 1}),
    };
    // clang-format on
}

std::vector<SettingDef> ParamSettings()
{
    using PV = ParamValues;
    using binding::LfPitch;
    using binding::ParamNumber;
    using binding::ParamText;
    const auto P = kParamPage;
    constexpr std::string_view centring = "吸入時ヘッドセンタリング位置", fonts = "フォント選択",
                               lf = "ＬＦピッチ補正";
    // clang-format off
    return {
        Number("param.headCentringCutSheet",     centring, "カット紙",         "桁", kCentringMin,     kCentringMax,     &PV::headCentringCutSheet,     {off::headCentringCutSheet, 2}),
        Number("param.headCentringFrontTractor", centring, "フロントトラクタ", "桁", kCentringMin,     kCentringMax,     &PV::headCentringFrontTractor, {off::headCentringFrontTractor, 2}),
        Number("param.headCentringRearTractor",  centring, "リアトラクタ",     "桁", kRearCentringMin, kRearCentringMax, &PV::headCentringRearTractor,  {off::headCentringRearTractor, 3}),
        Text("param.kanjiCodeTable",      P, "",    "漢字コード表",                 "", kKanjiCodeTables, ParamText{&PV::kanjiCodeTable}, {off::kanjiCodeTable, 1}),
        Text("param.font1",               P, fonts, "フォント１",                   "", kFontNames,       ParamText{&PV::font1},          {off::font1, 1}),
        Text("param.font2",               P, fonts, "フォント２",                   "", kFontNames,       ParamText{&PV::font2},          {off::font2, 1}),
        Text("param.agaRetryTime",        P, "",    "AGA再実行時間",                "", kAgaRetryTimes,   ParamText{&PV::agaRetryTime},   {off::agaRetryTime, 2}),
        Text("param.autoReturnTime",      P, "",    "カット位置からの自動戻り時間", "", kAutoReturnTimes, ParamText{&PV::autoReturnTime}, {off::autoReturnTime, 2}),
        OnOff("param.postcardMode",       P,        "ハガキ印刷モード",                 kOffOn,           ParamNumber{&PV::postcardMode}, {off::postcardMode, 1}),
        // Only the units digit belongs to the setting.
        Number("param.sheetGuideFeedTime", "", "シートガイドからの用紙吸入時間", "秒", kFeedTimeMin, kFeedTimeMax, &PV::sheetGuideFeedTime, {off::sheetGuideFeedTime + 1, 1}),
        Text("param.lfPitchSheetGuide",   P, lf,    "シートガイド",                 "", kLfPitchTexts,    LfPitch{kLfSheetGuide},         {off::lfPitchSheetGuide, 2}),
        Text("param.lfPitchSheetFeeder",  P, lf,    "シートフィーダ",               "", kLfPitchTexts,    LfPitch{kLfSheetFeeder},        {off::lfPitchSheetFeeder, 2}),
        Text("param.lfPitchFrontTractor", P, lf,    "フロントトラクタ",             "", kLfPitchTexts,    LfPitch{kLfFrontTractor},       {off::lfPitchFrontTractor, 2}),
        Text("param.lfPitchRearTractor",  P, lf,    "リアトラクタ",                 "", kLfPitchTexts,    LfPitch{kLfRearTractor},        {off::lfPitchRearTractor, 2}),
    };
    // clang-format on
}

// Keys and titles of the form settings are made once and live as long as
// the program.
struct FormNames {
    std::array<std::string, 5> pages;
    std::array<std::array<std::string, std::size(kFormFields)>, 5> keys;
};

const FormNames& FormNameStore()
{
    static const FormNames names = [] {
        FormNames n;
        for (std::size_t form = 0; form < 5; ++form) {
            n.pages[form] = "書式の設定： " + std::string(kFormNames[form]);
            for (std::size_t i = 0; i < std::size(kFormFields); ++i)
                n.keys[form][i] = "form" + std::to_string(form) + "." + std::string(kFormFields[i].name);
        }
        return n;
    }();
    return names;
}

void AddForms(std::vector<SettingDef>& list)
{
    const FormNames& names = FormNameStore();
    for (int form = 0; form < 5; ++form) {
        const auto f = static_cast<std::size_t>(form);
        for (std::size_t i = 0; i < std::size(kFormFields); ++i) {
            const FormRow& row = kFormFields[i];
            const FormPart part = kFormParts[i];
            if (form == 0 && IsMargin(part))
                continue;  // form 0 stores no margins
            const FormFieldRule& rule = RuleOf(part);
            const BlockSpan span{kFormOffsets[f] + static_cast<std::size_t>(FieldStart(LayoutOf(form), part)),
                                 static_cast<std::size_t>(rule.digits)};
            list.push_back({names.keys[f][i],
                            names.pages[f],
                            row.group,
                            row.label,
                            "",
                            row.unit,
                            K::Integer,
                            {},
                            rule.min,
                            rule.max,
                            binding::Form{form, part},
                            span});
        }
    }
}

void AddSwitches(std::vector<SettingDef>& list, int bank)
{
    const std::string_view page = kMswPages[static_cast<std::size_t>(bank - 1)];
    if (bank == 1) {
        // Switches 1-3 together hold the country number.
        const SwitchPlace first = PlaceOfSwitch(bank, 0);
        const auto mask =
            static_cast<std::uint8_t>(first.mask | PlaceOfSwitch(bank, 1).mask | PlaceOfSwitch(bank, 2).mask);
        list.push_back(Text("msw1.internationalCharacterSet", page, "", "各国文字の切り替え （MSW1-1/2/3）",
                            "", kCountryNames, binding::Country{}, {first.offset, 1, mask}));
    }
    for (const SwitchRow& row : kSwitches) {
        if (row.bank != bank)
            continue;
        const SwitchPlace place = PlaceOfSwitch(bank, static_cast<std::size_t>(row.index));
        list.push_back({row.key,
                        page,
                        "",
                        row.label,
                        row.switchName,
                        "",
                        K::OnOff,
                        row.texts,
                        0,
                        0,
                        binding::Switch{row.bank, row.index},
                        {place.offset, 1, place.mask}});
    }
}

}  // namespace

const std::vector<SettingDef>& All()
{
    static const std::vector<SettingDef> table = [] {
        std::vector<SettingDef> list = SelectSettings();
        AddForms(list);
        for (SettingDef& def : ParamSettings())
            list.push_back(def);
        for (int bank = 1; bank <= 4; ++bank)
            AddSwitches(list, bank);
        return list;
    }();
    return table;
}

std::string_view FormKey(int form, FormPart part)
{
    return FormNameStore().keys[static_cast<std::size_t>(form)][static_cast<std::size_t>(part)];
}

}  // namespace qv::table
