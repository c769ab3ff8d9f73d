// "-" for standard input and output, and the reports as JSON documents.
#include <nlohmann/json.hpp>

#include "ToolTestSupport.h"
#include "tests/core/BlockText.h"

namespace {

using qv::SettingsBlock;

class Streams : public ToolTest {
protected:
    static std::string FileText(const SettingsBlock& block)
    {
        const auto bytes = qv::EncodeSettingsFile(block);
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(Streams, DashIsStandardInputOnceInARun)
{
    const std::string gothic = FileText(FactoryWith(70, "1"));
    const std::string factory = Settings("factory.dat", qv::FactoryDefaults);
    const std::string json =
        R"({"format":"qvx4k5-settings","version":2,"settings":{"select.typeface":"ゴシック体"},"frame":{}})";
    const struct {
        std::vector<std::string> args;
        std::optional<std::string> in;
        int code;
        std::string part;  // of standard output, or of errors when the run fails
    } cases[] = {
        {{"show", "-"}, gothic, 0, "ゴシック体"},
        {{"diff", "-", factory}, gothic, 1, "標準入力"},
        {{"check", factory, "-"}, gothic, 0, "標準入力: 問題ありません。"},
        {{"export", "-", "-o", "-"}, gothic, 0, "\"select.typeface\": \"ゴシック体\""},
        {{"import", "-", "-o", Path("in.dat")}, json, 0, "in.dat に書き込みました。"},
        {{"import", Path("none.json"), "-o", Path("x.dat"), "--base", "-"},
         gothic,
         2,
         "ファイルが見つかりません"},
        {{"diff", "-", "-"},
         gothic,
         2,
         "標準入力: 読み込めません。標準入力 (-) は 1 回の実行で一つの入力にしか使えません。"},
        {{"show", "-"}, std::nullopt, 2, "標準入力が端末です。"},
        // Reports as JSON: one document, its format and version first.
        {{"show", "--json", "-"}, gothic, 0, "{\n  \"format\": \"qvx4k5-show\",\n  \"version\": 1,"},
        {{"diff", "--json", "-", factory}, gothic, 1, "{\n  \"format\": \"qvx4k5-diff\",\n  \"version\": 1,"},
        {{"check", "--json", factory, "-"},
         gothic,
         0,
         "{\n  \"format\": \"qvx4k5-check\",\n  \"version\": 1,"},
    };
    for (const auto& c : cases) {
        input = c.in;
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.code, c.code) << testing::PrintToString(c.args) << run.err;
        EXPECT_TRUE(Contains(c.code == 2 ? run.err : run.out, c.part)) << run.out << run.err;
    }
    EXPECT_EQ(ReadBytes("in.dat"), SavedByPanel(FactoryWith(70, "1")));
}

TEST_F(Streams, SettingsFileGoesToStandardOutputAsItIsButNeverToATerminal)
{
    const std::string factory = FileText(qv::FactoryDefaults);
    EXPECT_EQ(Run({"factory", "-o", "-"}).out, factory);
    input = R"({"format":"qvx4k5-settings","version":1,"settings":{"param.font1":"クーリエ"}})";
    const ToolRun imported = Run({"import", "-", "-o", "-"});
    EXPECT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(imported.out, FileText(qv::LoadAsPanel(FactoryWith(16, "2")).block));
    EXPECT_FALSE(imported.outUtf8) << "no code page conversion is asked for";

    terminalOut = true;
    const ToolRun refused = Run({"factory", "-o", "-"});
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_TRUE(Contains(refused.err, "標準出力が端末のため、設定ファイルは書き出しません。"));
}

}  // namespace
