// The journal's Win32 steps: the places the policy value adds, appends that
// fail with the system's reason, and two processes appending at once.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "framework/Handles.h"
#include "framework/Text.h"
#include "storage/JournalWin32.h"
#include "tests/core/JournalLines.h"

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\Quorvex\\418KQ5";
constexpr std::uint32_t kEach = 1000;

fs::path Folder(const char* name)
{
    const fs::path folder = fs::temp_directory_path() / "qvjournal-win" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(JournalWin32, PolicyFolderTakesEveryRecordBesideTheUsersJournal)
{
    const fs::path site = Folder("site"), extra = Folder("extra");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPolicyKey, L"JournalFolder");
    ASSERT_FALSE(PolicyJournalFolder());
    qv::JournalPlaces places = Win32JournalPlaces(extra);
    EXPECT_TRUE(places.userFile.native().ends_with(L"\\AppData\\Local\\Quorvex\\418KQ5\\sends.jsonl"))
        << places.userFile.string();
    ASSERT_EQ(places.siteFiles.size(), 1u);

    const std::wstring value = site.native();
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kPolicyKey, L"JournalFolder", REG_SZ, value.c_str(),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    places = Win32JournalPlaces(std::nullopt);
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPolicyKey, L"JournalFolder");
    const qv::JournalSteps steps = Win32JournalSteps();
    ASSERT_EQ(places.siteFiles.size(), 1u);
    EXPECT_EQ(places.siteFiles[0], site / Widen(steps.computer() + ".jsonl"));
    EXPECT_FALSE(steps.user().empty());

    // The user's journal of this test stays in its own folder.
    places.userFile = Folder("user") / "sends.jsonl";
    const qv::SendJournal journal(places, steps);
    qv::JournalRecord record = *qv::ParseJournalLine(NumberedLine("KQ 1", 7));
    std::string problem;
    ASSERT_TRUE(journal.Append(record, problem)) << problem;
    EXPECT_EQ(journal.Read().size(), 1u);
    EXPECT_EQ(qv::ReadJournalText(steps.read(places.siteFiles[0]).value_or("")).size(), 1u);

    // Below a plain file no folder can be made: the append says so, in the system's words.
    {
        std::ofstream(site / "plain") << "x";
    }
    EXPECT_FALSE(steps.append(site / "plain" / "sub" / "sends.jsonl", NumberedLine("KQ 1", 8), problem));
    EXPECT_NE(problem.find("エラー "), std::string::npos) << problem;
}

// A child process of the next test: appends its share of records.
TEST(JournalWin32, WriterProcess)
{
    const char* name = std::getenv("QV_JOURNAL_WRITER");
    const wchar_t* file = ::_wgetenv(L"QV_JOURNAL_FILE");
    if (!name || !file)
        GTEST_SKIP() << "started by TwoProcessesAppendingNeverInterleave only";
    const qv::JournalSteps steps = Win32JournalSteps();
    std::string problem;
    for (std::uint32_t i = 0; i < kEach; ++i)
        ASSERT_TRUE(steps.append(fs::path(file), NumberedLine(name, i), problem)) << problem;
}

TEST(JournalWin32, TwoProcessesAppendingNeverInterleave)
{
    const fs::path file = Folder("two") / "sends.jsonl";
    {
        // Near the limit, so that the journal is rotated while both write.
        std::ofstream fill(file, std::ios::binary);
        for (std::uintmax_t at = 0; at + 1024 <= qv::kJournalSizeLimit - 400 * 1024; at += 1024)
            fill << std::string(1023, 'x') << '\n';
    }
    ::SetEnvironmentVariableW(L"QV_JOURNAL_FILE", file.c_str());
    std::vector<UniqueKernelHandle> writers;
    for (const wchar_t* name : {L"W1", L"W2"}) {
        ::SetEnvironmentVariableW(L"QV_JOURNAL_WRITER", name);
        std::wstring commandLine = L"\"" + ModulePath() + L"\" --gtest_filter=JournalWin32.WriterProcess";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &si, &pi));
        ::CloseHandle(pi.hThread);
        writers.emplace_back(pi.hProcess);
    }
    ::SetEnvironmentVariableW(L"QV_JOURNAL_WRITER", nullptr);
    ::SetEnvironmentVariableW(L"QV_JOURNAL_FILE", nullptr);
    for (const auto& writer : writers) {
        ASSERT_EQ(::WaitForSingleObject(writer.get(), 100000), WAIT_OBJECT_0);
        DWORD code = 1;
        ::GetExitCodeProcess(writer.get(), &code);
        EXPECT_EQ(code, 0u);
    }

    const qv::JournalSteps steps = Win32JournalSteps();
    ExpectWholeNumberedLines(
        steps.read(qv::RotatedJournal(file)).value_or("") + steps.read(file).value_or(""), 2 * kEach);
    EXPECT_TRUE(fs::exists(qv::RotatedJournal(file)));
}

}  // namespace
