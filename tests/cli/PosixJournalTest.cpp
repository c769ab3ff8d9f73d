// The journal's POSIX steps on real files: rotation, a torn last line, a
// folder that cannot be made, and two processes appending at once.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "cli/PosixJournal.h"
#include "tests/core/JournalLines.h"

namespace {

namespace fs = std::filesystem;

class PosixJournal : public testing::Test {
protected:
    const fs::path dir = fs::temp_directory_path() / ("qvjournal-posix-" + std::to_string(::getpid())),
                   file = dir / "state" / "sends.jsonl";
    const qv::JournalSteps steps = qv::cli::PosixJournalSteps();
    std::string problem;

    void SetUp() override { fs::remove_all(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string Text(const fs::path& path) const { return steps.read(path).value_or("<none>"); }
};

TEST_F(PosixJournal, AppendsWholeLinesAndRotatesAtTheLimit)
{
    // Folders are made; a torn last line is ended before the next record.
    ASSERT_TRUE(steps.append(file, NumberedLine("A", 0), problem)) << problem;
    std::ofstream(file, std::ios::app) << NumberedLine("B", 0).substr(0, 40);
    ASSERT_TRUE(steps.append(file, NumberedLine("C", 0), problem)) << problem;
    EXPECT_EQ(qv::ReadJournalText(Text(file)).size(), 2u);

    // Past the limit the journal becomes its predecessor, replacing an older one.
    FillJournal(file, qv::kJournalSizeLimit - 200);
    std::ofstream(qv::RotatedJournal(file)) << "older\n";
    ASSERT_TRUE(steps.append(file, NumberedLine("D", 0), problem)) << problem;
    EXPECT_EQ(fs::file_size(qv::RotatedJournal(file)), qv::kJournalSizeLimit - 200);
    EXPECT_TRUE(Text(file) == NumberedLine("D", 0) + "\n");
}

TEST_F(PosixJournal, TwoProcessesAppendingAThousandRecordsEachNeverInterleave)
{
    // Near the limit, so that the journal is rotated while both write.
    fs::create_directories(file.parent_path());
    FillJournal(file, qv::kJournalSizeLimit - 600 * 1024);
    std::vector<pid_t> writers;
    for (const char* name : {"W1", "W2"}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (std::uint32_t i = 0; i < 1000; ++i)
                ok = steps.append(file, NumberedLine(name, i), problem) && ok;
            ::_exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ExpectWholeNumberedLines(Text(qv::RotatedJournal(file)) + Text(file), 2000);
    EXPECT_EQ(Text(file).front(), '{') << "rotated on the way";
    EXPECT_LE(fs::file_size(qv::RotatedJournal(file)), qv::kJournalSizeLimit) << "nothing added once rotated";
}

}  // namespace
