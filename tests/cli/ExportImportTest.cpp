// export then import: every key through JSON and back into the 290 bytes
// the panel would save, and import's refusals, each naming what is wrong.
#include <nlohmann/json.hpp>

#include "ToolTestSupport.h"
#include "tests/core/BlockText.h"

namespace {

using qv::SettingsBlock;

// A block in which every setting differs from the factory settings, written
// byte by byte from the block layout.
SettingsBlock EverySettingChanged()
{
    SettingsBlock b = qv::FactoryDefaults;
    const std::pair<std::size_t, const char*> fields[] = {
        {67, "17"},  {74, "12"}, {77, "FA"}, {80, "FE"},  {72, "5"},   {26, "1"},   {70, "1"},  {83, "2"},
        {85, "3"},   {28, "55"}, {31, "12"}, {34, "120"}, {20, "2"},   {16, "4"},   {18, "1"},  {249, "07"},
        {243, "08"}, {24, "1"},  {247, "5"}, {258, "FB"}, {261, "04"}, {252, "FF"}, {255, "03"}};
    for (const auto& [at, text] : fields)
        Put(b, at, text);
    // Every switch flipped (MSW3-1 is always stored as 0, so it stays).
    const std::pair<std::size_t, std::uint8_t> switches[] = {{4, 0x0C},  {5, 0x0F},  {7, 0x0D},  {8, 0x0F},
                                                             {10, 0x0E}, {11, 0x0D}, {13, 0x03}, {14, 0x0F}};
    for (const auto& [at, value] : switches)
        b[at] = value;
    Put(b, 38, "12,011,012,013,014,015,01,02,");
    const std::size_t starts[] = {87, 126, 165, 204};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i + 1);
        Put(b, starts[i], "2" + n + ",00" + n + ",10" + n + ",021,022,023,024,025,0" + n + ",1" + n + ",");
    }
    return b;
}

class ExportImport : public ToolTest {
protected:
    nlohmann::ordered_json Export(const std::string& file)
    {
        const ToolRun run = Run({"export", file});
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(run.outUtf8);
        return nlohmann::ordered_json::parse(run.out);
    }
    ToolRun Import(const std::string& json, std::vector<std::string> more = {})
    {
        WriteText("in.json", json);
        std::vector<std::string> args = {"import", Path("in.json"), "-o", Path("out.dat")};
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    }
};

TEST_F(ExportImport, CraftedBlockDiffersFromTheFactoryInEveryKey)
{
    const auto changed = qv::LoadAsPanel(EverySettingChanged()).values;
    const auto factory = qv::StartupPanelValues();
    for (const qv::SettingDef& def : qv::Settings())
        EXPECT_NE(qv::GetValue(def, changed), qv::GetValue(def, factory)) << def.key;
}

// Every kind of block the tests use, through a version 2 document alone and
// through a version 1 document with the file as --base.
TEST_F(ExportImport, RoundTripGivesTheBytesThePanelSaves)
{
    SettingsBlock repaired = FactoryWith(258, "09");
    repaired[4] = 0x07;
    repaired[72] = '3';
    SettingsBlock framed = EverySettingChanged();
    framed[124] = 0x33;
    framed[246] = '1';
    SettingsBlock carried = qv::FactoryDefaults;
    carried[11] ^= 0x02;  // MSW3-6, a switch without a control
    SettingsBlock recordText = EverySettingChanged();
    Put(recordText, 126, "5@");  // form 2's length reads 66, among changed values
    const struct {
        const char* what;
        SettingsBlock block;
    } cases[] = {
        {"factory", qv::FactoryDefaults},
        {"every setting changed", EverySettingChanged()},
        {"values that loading repairs", repaired},
        {"frame bytes", framed},
        {"switch without a control", carried},
        {"record text", recordText},
        {"record text of a value out of range", FactoryWith(204, "0/")},
        {"form length 0", FactoryWith(204, "00")},
        {"sign the panel does not read", FactoryWith(77, "X3")},
        {"padding", FactoryWith(266, "\x05")},
        {"upper bits of a switch byte", FactoryWith(13, "\x1C")},
        {"command header", FactoryWith(1, "X")},
    };
    for (const auto& c : cases) {
        const std::string file = Settings("src.dat", c.block);
        ASSERT_EQ(Run({"export", file, "-o", Path("v2.json")}).code, 0) << c.what;
        const ToolRun v2 = Run({"import", Path("v2.json"), "-o", Path("v2.dat")});
        ASSERT_EQ(v2.code, 0) << c.what << v2.err;
        EXPECT_EQ(ReadBytes("v2.dat"), SavedByPanel(c.block)) << c.what;

        auto doc = nlohmann::ordered_json::parse(ReadBytes("v2.json"));
        doc.erase("frame");
        doc["version"] = 1;
        WriteText("v1.json", doc.dump());
        const ToolRun v1 = Run({"import", Path("v1.json"), "-o", Path("v1.dat"), "--base", file});
        ASSERT_EQ(v1.code, 0) << c.what << v1.err;
        EXPECT_EQ(ReadBytes("v1.dat"), SavedByPanel(c.block)) << c.what;
    }
}

TEST_F(ExportImport, ExportHasEveryKeyInPageOrderWithTextsAndNumbers)
{
    const auto doc = Export(Settings("a.dat", EverySettingChanged()));
    EXPECT_EQ(doc["format"], "qvx4k5-settings");
    EXPECT_EQ(doc["version"], 2);
    const auto& settings = doc["settings"];
    ASSERT_EQ(settings.size(), qv::Settings().size());
    std::size_t i = 0;
    for (const auto& [key, value] : settings.items()) {
        const qv::SettingDef& def = qv::Settings()[i++];
        EXPECT_EQ(key, def.key);
        EXPECT_EQ(value.is_number_integer(), def.kind == qv::SettingKind::Integer) << key;
    }
    EXPECT_EQ(settings["select.printPositionAdjust"], "-0.8");
    EXPECT_EQ(settings["msw1.internationalCharacterSet"], "ドイツ");
    EXPECT_EQ(settings["form3.rightMargin"], 103);
}

TEST_F(ExportImport, FrameComesFromTheDocumentElseFromTheBaseFileOrTheFactory)
{
    SettingsBlock framed = EverySettingChanged();
    framed[124] = 0x33;  // a reserved byte the panel sends as it is
    framed[246] = '1';
    const std::string file = Settings("framed.dat", framed);
    ASSERT_EQ(Run({"export", file, "-o", Path("f.json")}).code, 0);
    ASSERT_EQ(Run({"import", Path("f.json"), "-o", Path("v2.dat")}).code, 0);
    EXPECT_EQ(ReadBytes("v2.dat"), SavedByPanel(framed));

    // A version 1 document has no frame.
    auto doc = nlohmann::ordered_json::parse(ReadBytes("f.json"));
    doc.erase("frame");
    doc["version"] = 1;
    WriteText("f.json", doc.dump());
    ASSERT_EQ(Run({"import", Path("f.json"), "-o", Path("with.dat"), "--base", file}).code, 0);
    EXPECT_EQ(ReadBytes("with.dat"), SavedByPanel(framed));

    ASSERT_EQ(Run({"import", Path("f.json"), "-o", Path("without.dat")}).code, 0);
    SettingsBlock expected = qv::LoadAsPanel(framed).block;
    expected[124] = 0;
    expected[246] = '0';
    const auto bytes = qv::EncodeSettingsFile(expected);
    EXPECT_EQ(ReadBytes("without.dat"), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

TEST_F(ExportImport, PartialJsonChangesOnlyItsKeysOfTheBase)
{
    const std::string base = Settings("base.dat", EverySettingChanged());
    const ToolRun run = Import(R"({"format":"qvx4k5-settings","version":1,"settings":{
        "param.font2":"ゴシック","form2.leftMargin":5,"msw4.highSpeedPrinting":"通常印刷"}})",
                               {"--base", base});
    ASSERT_EQ(run.code, 0) << run.err;
    SettingsBlock expected = qv::LoadAsPanel(EverySettingChanged()).block;
    Put(expected, 18, "3");
    Put(expected, 126 + 3, "005");
    expected[14] = 0x0E;
    const auto bytes = qv::EncodeSettingsFile(expected);
    EXPECT_EQ(ReadBytes("out.dat"), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

TEST_F(ExportImport, ValueTheFormDialogRefusesPassesOnlyWhereTheBaseHoldsIt)
{
    const std::string base = Settings("base.dat", FactoryWith(87, "00"));  // form 1 length 0
    const std::string json = R"({"format":"qvx4k5-settings","version":1,"settings":{"form1.formLength":0}})";
    EXPECT_EQ(Import(json, {"--base", base}).code, 0);
    EXPECT_EQ(ReadBytes("out.dat"), SavedByPanel(FactoryWith(87, "00")));
    const ToolRun fromFactory = Import(json);
    EXPECT_EQ(fromFactory.code, 2);
    EXPECT_TRUE(Contains(fromFactory.err, "form1.formLength: 0 は使えません。使える値: 1 から 99 までの整数"))
        << fromFactory.err;
}

TEST_F(ExportImport, RefusalsNameTheKeyTheValueAndWhatIsAllowedAndWriteNothing)
{
    const std::string head = R"({"format":"qvx4k5-settings","version":1,"settings":)";
    const std::string head2 = R"({"format":"qvx4k5-settings","version":2,"settings":{},"frame":)";
    const struct {
        std::string json;
        std::vector<std::string> errors;
    } cases[] = {
        {head + R"({"param.fnot1":"標準"}})",
         {"param.fnot1: 知らないキーです（param.font1 のことですか？）"}},
        {head + R"({"param.font1":"明朝"}})",
         {"param.font1: \"明朝\" は使えません。使える値: \"標準\", \"イタリック\", \"クーリエ\", "
          "\"ゴシック\", "
          "\"OCR-B\" のいずれか"}},
        {head + R"({"param.headCentringCutSheet":"40"}})",
         {"param.headCentringCutSheet: \"40\" は文字列です。使える値: 10 から 68 までの整数"}},
        {head + R"({"param.headCentringCutSheet":40.5}})", {"40.5 は整数ではありません"}},
        {head + R"({"param.headCentringCutSheet":69}})",
         {"69 は使えません。使える値: 10 から 68 までの整数"}},
        {head + R"({"param.headCentringCutSheet":99999999999}})", {"99999999999 は使えません"}},
        {head + R"({"param.lfPitchSheetGuide":1}})", {"param.lfPitchSheetGuide: 1 は文字列ではありません"}},
        {head + R"({"param.postcardMode":true}})",
         {"true は文字列ではありません。使える値: \"OFF\", \"ON\""}},
        {head + R"({"form2.leftMargin":90,"form2.rightMargin":80}})",
         {"form2.leftMargin = 90, form2.rightMargin = 80: "
          "ライトマージン幅はレフトマージン幅より大きくしてください"}},
        {head + R"({"param.font1":"標準","param.font1":"標準"}})", {"キー \"param.font1\" が二度あります"}},
        {R"({"format":"other","version":3,"settings":{}})",
         {"\"format\" が \"qvx4k5-settings\" ではありません", "\"version\" が 1 でも 2 でもありません"}},
        {R"({"format":"qvx4k5-settings","version":1,"settings":[],"comment":1})",
         {"知らない項目 \"comment\"", "\"settings\" のオブジェクトがありません"}},
        {R"([1,2])", {"JSON のオブジェクトではありません"}},
        {head + R"({"param.font1":"標準")", {"JSON として読めません"}},
        {head + "{\"param.font1\":\"\xE6\xA8\"}}",
         {"UTF-8 として読めません（68 バイト目が 0xE6）"}},  // cut UTF-8
        {head + R"({"param.font1":[1,[2]],"param.font2":{"a":1}}})",
         {"param.font1: 配列 は文字列ではありません", "param.font2: オブジェクト は文字列ではありません"}},
        {head2 + R"({"270":"00"}})", {"frame \"270\": バイトの位置は 0 から 269 までの 10 進数です。"}},
        {head2 + R"({"012":"00","-1":"00"}})",
         {"frame \"012\": バイトの位置は", "frame \"-1\": バイトの位置は"}},
        {head2 + R"({"124":"3G","125":"333","126":""}})",
         {"frame \"124\": 値は \"3540\" のような 16 進 2 桁ずつ", "frame \"125\": 値は",
          "frame \"126\": 値は"}},
        {head2 + R"({"268":"000000"}})",
         {"frame \"268\": 3 バイトでは設定の終わり（270 バイト）を越えます。"}},
        {head2 + R"({"124":"0000","125":"00"}})", {"frame \"125\": ほかの項目と同じバイトを含んでいます。"}},
        {head2 + R"([]})", {"\"frame\" がオブジェクトではありません。"}},
        {R"({"format":"qvx4k5-settings","version":1,"settings":{},"frame":{}})",
         {"知らない項目 \"frame\" があります。使える項目: format, version, settings"}},
        // Every error of a file at once, not just the first.
        {head + R"({"param.font1":"x","param.font2":"y","select.nope":1}})",
         {"param.font1: \"x\"", "param.font2: \"y\"", "select.nope: 知らないキーです"}},
    };
    const std::vector<std::uint8_t> before = {1, 2, 3};
    for (const auto& c : cases) {
        WriteBytes("out.dat", before);
        const ToolRun run = Import(c.json);
        EXPECT_EQ(run.code, 2) << c.json;
        for (const std::string& error : c.errors)
            EXPECT_TRUE(Contains(run.err, error)) << c.json << "\n" << run.err;
        EXPECT_TRUE(Contains(run.err, "out.dat には何も書き込んでいません")) << run.err;
        EXPECT_EQ(ReadBytes("out.dat"), before) << c.json;
    }
    EXPECT_EQ(Run({"import", Path("none.json"), "-o", Path("x.dat")}).code, 2);
    EXPECT_FALSE(Exists("x.dat"));
}

TEST_F(ExportImport, DeeplyNestedValueIsRefusedWithoutExhaustingTheStack)
{
    const std::string deep = std::string(200000, '[') + std::string(200000, ']');
    const ToolRun run =
        Import(R"({"format":"qvx4k5-settings","version":1,"settings":{"param.font1":)" + deep + "}}");
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(Contains(run.err, "param.font1: 配列 は文字列ではありません")) << run.err.substr(0, 300);
}

TEST_F(ExportImport, HostileKeysAndValuesAreShownEscapedAndShort)
{
    const std::string head = R"({"format":"qvx4k5-settings","version":2,"settings":{)";
    const struct {
        std::string members;
        std::string shown;
    } cases[] = {
        {R"("a\u001b[31m\u0000b":1)", "a\\u001B[31m\\u0000b: 知らないキーです"},
        {R"("param.font1":"\u001b]0;title\u0007")", "param.font1: \"\\u001b]0;title\\u0007\" は使えません"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Import(head + c.members + "}}");
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(Contains(run.err, c.shown)) << c.members << "\n" << run.err;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(run.err.find('\0'), std::string::npos);
    }
}

}  // namespace
