// show, diff, check and factory on files written for each case.
#include <nlohmann/json.hpp>

#include "ToolTestSupport.h"
#include "cli/Utf8.h"
#include "tests/core/BlockText.h"

namespace {

using qv::SettingsBlock;

class FileVerbs : public ToolTest {};

TEST_F(FileVerbs, ShowListsEverySettingAsThePanelShowsItAfterLoading)
{
    SettingsBlock block = FactoryWith(258, "09");  // LF pitch repaired to 0
    Put(block, 77, "X3");                          // not read: the started panel's 0 stays
    Put(block, 16, "3");
    const std::string file = Settings("a.dat", block);

    const ToolRun text = Run({"show", file});
    EXPECT_EQ(text.code, 0);
    EXPECT_FALSE(text.outUtf8);
    for (const qv::SettingDef& def : qv::Settings())
        EXPECT_TRUE(Contains(text.out, std::string(def.key))) << def.key;
    EXPECT_TRUE(Contains(text.out, "[ＭＳＷ４]"));
    EXPECT_TRUE(Contains(text.out, "フォント選択 フォント１  ")) << text.out;

    const ToolRun json = Run({"show", "--json", file});
    ASSERT_EQ(json.code, 0);
    EXPECT_TRUE(json.outUtf8);
    const auto doc = nlohmann::json::parse(json.out);
    ASSERT_EQ(doc["settings"].size(), qv::Settings().size());
    std::map<std::string, nlohmann::json> values;
    for (const auto& s : doc["settings"])
        values[s["key"]] = s["value"];
    EXPECT_EQ(values["param.lfPitchSheetGuide"], "0");
    EXPECT_EQ(values["select.printPressure"], "0");
    EXPECT_EQ(values["param.font1"], "ゴシック");
    EXPECT_EQ(values["param.headCentringCutSheet"], 40);
    EXPECT_EQ(doc["settings"][0]["label"], "自動位置補正の調整");
    EXPECT_EQ(doc["settings"][0]["page"], "機能選択");
}

TEST_F(FileVerbs, DiffNamesEachDifferingSettingAndExitsOneOnlyWhenSomeDiffer)
{
    const std::string factory = Settings("factory.dat", qv::FactoryDefaults);
    const struct {
        const char* what;
        SettingsBlock other;
        int code;
        std::vector<std::string> lines;  // parts of the output, in any order
    } cases[] = {
        {"same", qv::FactoryDefaults, 0, {"違いはありません。"}},
        {"repaired to the same bytes", FactoryWith(258, "09"), 0, {"違いはありません。"}},
        {"two settings", FactoryWith(77, "02"), 1, {"印刷圧微調整", "select.printPressure", "0", "+2"}},
        {"unit shown", FactoryWith(28, "55"), 1, {"param.headCentringCutSheet", "40 桁", "55 桁"}},
        {"frame only",
         FactoryWith(124, "\x01"),
         1,
         {"設定以外に違うバイト", "124", "reserved", "0x00", "0x01"}},
        // "5@" reads as 5 x 10 + 16 = 66, the factory length, in other bytes.
        {"record text under an equal value",
         FactoryWith(87, "5@"),
         1,
         {"設定以外に違うバイト", "form1.formLength"}},
    };
    for (const auto& c : cases) {
        const ToolRun run = Run({"diff", factory, Settings("other.dat", c.other)});
        EXPECT_EQ(run.code, c.code) << c.what;
        for (const std::string& part : c.lines)
            EXPECT_TRUE(Contains(run.out, part)) << c.what << ": " << part << "\n" << run.out;
    }
    const ToolRun missing = Run({"diff", factory, Path("nothing.dat")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(Contains(missing.err, "nothing.dat: 読み込めません。ファイルが見つかりません: "))
        << missing.err;
}

TEST_F(FileVerbs, DiffAsJsonGivesBothValuesAndTheOtherBytes)
{
    SettingsBlock other = FactoryWith(20, "1");
    other[124] = 7;
    const ToolRun run =
        Run({"diff", "--json", Settings("a.dat", qv::FactoryDefaults), Settings("b.dat", other)});
    ASSERT_EQ(run.code, 1);
    EXPECT_TRUE(run.outUtf8);
    const auto doc = nlohmann::json::parse(run.out);
    ASSERT_EQ(doc["settings"].size(), 1u);
    EXPECT_EQ(doc["settings"][0]["key"], "param.kanjiCodeTable");
    EXPECT_EQ(doc["settings"][0]["values"], nlohmann::json({"JIS1978年版", "JIS1983年版"}));
    ASSERT_EQ(doc["bytes"].size(), 1u);
    EXPECT_EQ(doc["bytes"][0]["offset"], 124);
    EXPECT_EQ(doc["bytes"][0]["values"], nlohmann::json({0, 7}));
}

TEST_F(FileVerbs, CheckSaysWhyAFileIsRefusedOrWhatLoadingChanges)
{
    const auto good = qv::EncodeSettingsFile(qv::FactoryDefaults);
    std::vector<std::uint8_t> bytes(good.begin(), good.end());
    WriteBytes("short.dat", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 100));
    auto wrongHeader = bytes;
    wrongHeader[18] = '\r';
    WriteBytes("header.dat", wrongHeader);
    auto longer = bytes;
    longer.resize(300, 0xEE);
    WriteBytes("long.dat", longer);
    std::filesystem::create_directory(dir / "folder.dat");

    const struct {
        std::string file;
        int code;
        std::string part;
    } cases[] = {
        {Settings("clean.dat", qv::FactoryDefaults), 0, "clean.dat: 問題ありません。"},
        {Path("short.dat"), 2, "100 バイトしかありません（290 バイト必要です）"},
        {Path("header.dat"), 2, "先頭が設定ファイルの識別子"},
        {Path("missing.dat"), 2, "ファイルが見つかりません"},
        {Path("folder.dat"), 2, "フォルダーです"},
        {Path("long.dat"), 1, "290 バイトより後ろの 10 バイトは読み込まれません。"},
        {Settings("lf.dat", FactoryWith(261, "08")), 1,
         "読み込みで直される設定: param.lfPitchSheetFeeder（ＬＦピッチ補正 シートフィーダ） 保存値 "
         "\"08\"、送信される値 "
         "\"00\"（表示 0）"},
        {Settings("bits.dat", FactoryWith(13, "\x1C")), 1,
         "msw4（バイト 13） 保存値 0x1C、送信される値 0x0C"},
        {Settings("frame.dat", FactoryWith(266, "\x05")), 1,
         "工場出荷時と違う枠のバイト: 264 padding 保存値 0x00 0x00 0x05 0x00 0x00 0x00"},
        {Settings("form.dat", FactoryWith(204, "00")), 1,
         "書式の設定では受け付けない値: form4.formLength（用紙長）"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Run({"check", c.file});
        EXPECT_EQ(run.code, c.code) << c.file;
        EXPECT_TRUE(Contains(run.out, c.part)) << c.file << "\n" << run.out;
    }
    // Several files: the worst decides.
    EXPECT_EQ(Run({"check", Path("clean.dat"), Path("lf.dat")}).code, 1);
    EXPECT_EQ(Run({"check", Path("clean.dat"), Path("short.dat"), Path("lf.dat")}).code, 2);
}

TEST_F(FileVerbs, FactoryWritesTheFactoryFileAndRefusesAFolder)
{
    const ToolRun run = Run({"factory", "-o", Path("f.dat")});
    EXPECT_EQ(run.code, 0);
    const auto expected = qv::EncodeSettingsFile(qv::FactoryDefaults);
    EXPECT_EQ(ReadBytes("f.dat"), std::vector<std::uint8_t>(expected.begin(), expected.end()));

    std::filesystem::create_directory(dir / "taken");
    const ToolRun refused = Run({"factory", "-o", Path("taken")});
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(Contains(refused.err, "書き込みに失敗しました")) << refused.err;
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
}

TEST_F(FileVerbs, UsageErrorsExitTwoAndHelpZero)
{
    const struct {
        std::vector<std::string> args;
        int code;
        const char* part;
    } cases[] = {
        {{},
         2,
         "コマンドを指定してください。使えるコマンド: show, diff, export, import, check, factory, send, "
         "history\n"
         "使い方: qvx4k5cmd [オプション] コマンド"},
        {{"show"},
         2,
         "コマンドラインが正しくありません: FILE を指定してください。\n使い方: qvx4k5cmd show [オプション] "
         "FILE\n"
         "qvx4k5cmd show --help で詳しい使い方を表示します。"},
        {{"frobnicate"}, 2, "知らないコマンド \"frobnicate\" です。使えるコマンド: show,"},
        {{"--utf8", "shwo", "a.dat"}, 2, "知らないコマンド \"shwo\" です（show のことですか？）。"},
        {{"import", "x.json"},
         2,
         "--output FILE を指定してください。\n使い方: qvx4k5cmd import [オプション] JSON"},
        {{"import", "x.json", "-o"}, 2, "--output の後に FILE を指定してください。"},
        {{"show", "a.dat", "b.dat"}, 2, "余分な引数 \"b.dat\" があります。"},
        {{"diff", "--jsno", "a", "b"}, 2, "知らないオプション \"--jsno\" です（--json のことですか？）。"},
        {{"check", "--bogus", "a"}, 2, "知らないオプション \"--bogus\" です。\n使い方: qvx4k5cmd check"},
        {{"--quite", "show", "a"}, 2, "知らないオプション \"--quite\" です（--quiet のことですか？）。"},
        {{"show", "a", "\x1B[2J"}, 2, "余分な引数 \"\\u001B[2J\" があります。"},
        {{"send", "x.dat", "--timeout", "abc"}, 2, "--timeout の値 \"abc\" を SECONDS として読めません。"},
        {{"send", "x.dat"}, 2, "送信先を --host か --hosts で指定してください。"},
        {{"send", "x.dat", "--host", "h", "--timeout", "0"}, 2, "--timeout は 1 から 600 までの秒数"},
        {{"printers"}, 2, "知らないコマンド \"printers\""},  // no spooler on this build
    };
    for (const auto& c : cases) {
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.code, c.code) << testing::PrintToString(c.args);
        EXPECT_TRUE(Contains(run.err, c.part)) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    const ToolRun help = Run({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* part : {"使い方: qvx4k5cmd", "show", "import",
                             "終了コード:", "5  失敗はないが、キューで待機中または未確認の送信がある"})
        EXPECT_TRUE(Contains(help.out, part)) << part;
    EXPECT_TRUE(Contains(Run({"send", "--help"}).out, "--host HOST[:PORT]"));
}

// CLI11 pads by bytes; the help pads by console columns, so a "（必須）"
// mark does not push its description out of line.
TEST_F(FileVerbs, HelpDescriptionsStartInOneColumn)
{
    for (const char* verb : {"--help", "import", "diff", "check", "send"}) {
        std::istringstream help(Run({verb, "--help"}).out);
        int rows = 0;
        for (std::string line; std::getline(help, line) && line != "終了コード:";) {
            const std::size_t gap = line.find("  ", 2);
            if (line.rfind("  ", 0) != 0 || line[2] == ' ' || gap == std::string::npos)
                continue;
            const std::size_t description = line.find_first_not_of(' ', gap);
            EXPECT_EQ(qv::cli::DisplayWidth(line.substr(0, description)), 34u) << line;
            ++rows;
        }
        EXPECT_GE(rows, 3) << verb;
    }
}

}  // namespace
