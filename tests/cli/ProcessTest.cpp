// The built program as a whole process: exit codes and output reach the
// caller as a script sees them.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

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
        {"show - < " + Quoted("b.dat"), 0, "ゴシック体"},
        {"export - < " + Quoted("b.dat") + " | '" + QV_CMD_PATH + "' import - -o - | cmp - " +
             Quoted("b.dat"),
         0, ""},
        {"show", 2, ""},  // its errors are looked at below
    };
    for (const auto& c : cases) {
        const auto [code, out] = Shell(c.arguments);
        EXPECT_EQ(code, c.code) << c.arguments;
        EXPECT_TRUE(Contains(out, c.out)) << c.arguments << "\n" << out;
    }
    const auto err = ReadBytes("stderr");
    EXPECT_TRUE(Contains(std::string(err.begin(), err.end()), "コマンドラインが正しくありません"));
}

// Output the reader never got is a failure, whatever the verb: a full disk
// and a pipe whose reader went away.
TEST_F(Process, FailedWritesToStandardOutputExitTwoWithTheSystemsReason)
{
    const std::string file = Settings("a.dat", qv::FactoryDefaults);
    const std::vector<std::vector<std::string>> runs = {
        {"show", "--json", file},
        {"export", file},
        {"factory", "-o", "-"},
        {"--help"},
        {"send", file, "--host", "127.0.0.1:9", "--dry-run"},
    };
    for (const bool pipeClosed : {false, true}) {
        for (const auto& args : runs) {
            int fds[2] = {-1, -1};
            if (pipeClosed) {
                ASSERT_EQ(::pipe(fds), 0);
                ::close(fds[0]);
            } else {
                fds[1] = ::open("/dev/full", O_WRONLY);
                ASSERT_GE(fds[1], 0);
            }
            const int err = ::open(Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
            posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
            std::vector<char*> argv = {const_cast<char*>(QV_CMD_PATH)};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            pid_t pid = 0;
            ASSERT_EQ(::posix_spawn(&pid, QV_CMD_PATH, &actions, nullptr, argv.data(), environ), 0);
            posix_spawn_file_actions_destroy(&actions);
            ::close(fds[1]);
            ::close(err);
            int status = 0;
            ::waitpid(pid, &status, 0);
            const auto bytes = ReadBytes("stderr");
            const std::string message(bytes.begin(), bytes.end());
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args[0] << " " << status;
            EXPECT_TRUE(Contains(message, std::string("qvx4k5cmd: 標準出力に書き込めませんでした: ") +
                                              std::strerror(pipeClosed ? EPIPE : ENOSPC)))
                << args[0] << ": " << message;
        }
    }
}

}  // namespace
