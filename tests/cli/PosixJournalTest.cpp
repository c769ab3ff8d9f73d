// The journal's POSIX steps on real files: rotation, a torn last line, a
// folder that cannot be made, and two processes appending at once.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "cli/PosixJournal.h"
#include "tests/core/JournalLines.h"

namespace {

namespace fs = std::filesystem;

class PosixJournal : public testing::Test {
protected:
    fs::path dir =
        fs::temp_directory_path() /
        ("qvjournal-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::path file = dir / "state" / "sends.jsonl";
    qv::JournalSteps steps = qv::cli::PosixJournalSteps();

    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(file.parent_path());
    }
    void TearDown() override { fs::remove_all(dir); }

    static void Put(const fs::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
    std::string Text(const fs::path& path) const { return steps.read(path).value_or("<none>"); }
    // Fills the journal with `size` bytes in lines of x.
    void Fill(std::uintmax_t size) const
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (std::uintmax_t at = 0; at < size; at += 1024)
            out << std::string(std::min<std::uintmax_t>(1024, size - at) - 1, 'x') << '\n';
    }
};

TEST_F(PosixJournal, AppendsWholeLinesRotatesAtTheLimitAndReportsWhatFails)
{
    std::string problem;
    // Folders are made; a torn last line is ended before the next record.
    fs::remove_all(file.parent_path());
    ASSERT_TRUE(steps.append(file, NumberedLine("A", 1), problem)) << problem;
    Put(file, Text(file) + NumberedLine("B", 2).substr(0, 40));
    ASSERT_TRUE(steps.append(file, NumberedLine("C", 3), problem)) << problem;
    const auto records = qv::ReadJournalText(Text(file));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].printer, "C");

    // Past the limit: the journal becomes its predecessor, replacing an older one.
    Fill(qv::kJournalSizeLimit - 200);
    Put(qv::RotatedJournal(file), "older\n");
    const std::uintmax_t full = fs::file_size(file);
    ASSERT_TRUE(steps.append(file, NumberedLine("D", 4), problem)) << problem;
    EXPECT_EQ(fs::file_size(qv::RotatedJournal(file)), full);
    EXPECT_TRUE(Text(file) == NumberedLine("D", 4) + "\n");

    // A folder that cannot be made: below a plain file (root may write anywhere else).
    Put(dir / "plain", "");
    EXPECT_FALSE(steps.append(dir / "plain" / "sub" / "sends.jsonl", NumberedLine("E", 5), problem));
    EXPECT_EQ(problem, "Not a directory");
    EXPECT_FALSE(steps.read(dir / "none.jsonl"));
}

TEST_F(PosixJournal, TwoProcessesAppendingAThousandRecordsEachNeverInterleave)
{
    // Near the limit, so that the journal is rotated while both write.
    Fill(qv::kJournalSizeLimit - 600 * 1024);
    constexpr std::uint32_t kEach = 1000;
    std::vector<pid_t> writers;
    for (const char* name : {"W1", "W2"}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::string problem;
            bool ok = true;
            for (std::uint32_t i = 0; i < kEach; ++i)
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

    ExpectWholeNumberedLines(Text(qv::RotatedJournal(file)) + Text(file), 2 * kEach);
    EXPECT_EQ(Text(qv::RotatedJournal(file)).front(), 'x');
    EXPECT_LE(fs::file_size(qv::RotatedJournal(file)), qv::kJournalSizeLimit) << "nothing added once rotated";
    EXPECT_EQ(Text(file).front(), '{') << "rotated on the way";
}

}  // namespace
