// The journal's POSIX steps on real files: rotation, a torn last line, a
// folder that cannot be made, and two processes appending at once.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/PosixJournal.h"

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

    static std::string Line(const std::string& printer, std::uint32_t job)
    {
        qv::JournalRecord r;
        r.time = "2026-12-08T10:45:40.123Z";
        r.printer = printer;
        r.job = job;
        qv::SetBlock(r, qv::FactoryDefaults);
        return qv::JournalLine(r);
    }
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
    ASSERT_TRUE(steps.append(file, Line("A", 1), problem)) << problem;
    Put(file, Text(file) + Line("B", 2).substr(0, 40));
    ASSERT_TRUE(steps.append(file, Line("C", 3), problem)) << problem;
    const auto records = qv::ReadJournalText(Text(file));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].printer, "C");

    // Past the limit: the journal becomes its predecessor, replacing an older one.
    Fill(qv::kJournalSizeLimit - 200);
    Put(qv::RotatedJournal(file), "older\n");
    const std::uintmax_t full = fs::file_size(file);
    ASSERT_TRUE(steps.append(file, Line("D", 4), problem)) << problem;
    EXPECT_EQ(fs::file_size(qv::RotatedJournal(file)), full);
    EXPECT_TRUE(Text(file) == Line("D", 4) + "\n");

    // A folder that cannot be made: below a plain file (root may write anywhere else).
    Put(dir / "plain", "");
    EXPECT_FALSE(steps.append(dir / "plain" / "sub" / "sends.jsonl", Line("E", 5), problem));
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
                ok = steps.append(file, Line(name, i), problem) && ok;
            ::_exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    const std::string text = Text(qv::RotatedJournal(file)) + Text(file);
    std::map<std::string, std::uint32_t> next;
    std::istringstream lines(text);
    std::size_t records = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find_first_not_of('x') == std::string::npos)
            continue;
        const auto record = qv::ParseJournalLine(line);
        ASSERT_TRUE(record) << "a mixed line: " << line.substr(0, 80);
        EXPECT_EQ(record->job, next[record->printer]++) << record->printer;
        ++records;
    }
    EXPECT_EQ(records, 2 * kEach);
    EXPECT_EQ(Text(qv::RotatedJournal(file)).front(), 'x');
    EXPECT_LE(fs::file_size(qv::RotatedJournal(file)), qv::kJournalSizeLimit) << "nothing added once rotated";
    EXPECT_EQ(Text(file).front(), '{') << "rotated on the way";
}

}  // namespace
