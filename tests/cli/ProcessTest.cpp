// The built program as a whole process: exit codes and output reach the
// caller as a script sees them.
#include <sys/wait.h>

#include <cstdio>

#include "ToolTestSupport.h"
#include "tests/core/BlockText.h"

namespace {

class Process : public ToolTest {
protected:
    // Runs the program with a shell command line; its exit code and stdout.
    std::pair<int, std::string> Shell(const std::string& arguments)
    {
        const std::string command =
            std::string("'") + QV_CMD_PATH + "' " + arguments + " 2>" + Path("stderr");
        FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        const int status = ::pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }
    std::string Quoted(const std::string& name) { return "'" + Path(name) + "'"; }
};

TEST_F(Process, ExitCodesAndOutputOfWholeRuns)
{
    Settings("a.dat", qv::FactoryDefaults);
    Settings("b.dat", FactoryWith(70, "1"));
    const struct {
        std::string arguments;
        int code;
        const char* out;
    } cases[] = {
        {"--help", 0, "終了コード:"},
        {"diff " + Quoted("a.dat") + " " + Quoted("a.dat"), 0, "違いはありません。"},
        {"diff " + Quoted("a.dat") + " " + Quoted("b.dat"), 1, "select.typeface"},
        {"check " + Quoted("a.dat") + " " + Quoted("none.dat"), 2, "none.dat: 読み込めません"},
        {"export " + Quoted("b.dat"), 0, "\"select.typeface\": \"ゴシック体\""},
        {"--version", 0, "qvx4k5cmd 2.000"},
        {"show", 2, ""},
    };
    for (const auto& c : cases) {
        const auto [code, out] = Shell(c.arguments);
        EXPECT_EQ(code, c.code) << c.arguments;
        EXPECT_TRUE(Contains(out, c.out)) << c.arguments << "\n" << out;
    }
    const auto err = ReadBytes("stderr");
    EXPECT_TRUE(Contains(std::string(err.begin(), err.end()), "コマンドラインが正しくありません"));
}

}  // namespace
