// The journal's Win32 steps: the site file the policy value adds, a
// failure in the system's words, and two processes appending at once.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/Handles.h"
#include "framework/Text.h"
#include "storage/JournalWin32.h"
#include "tests/core/JournalLines.h"

namespace {

namespace fs = std::filesystem;

fs::path Folder(const char* name)
{
    const fs::path folder = fs::temp_directory_path() / "qvjournal-win" / name;
    fs::remove_all(folder);
    return fs::create_directories(folder), folder;
}

TEST(JournalWin32, PolicyFolderAddsASiteFileAndFailuresComeInTheSystemsWords)
{
    const wchar_t* key = L"SOFTWARE\\Policies\\Quorvex\\418KQ5";
    const std::wstring site = Folder("site").native();
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"JournalFolder", REG_SZ, site.c_str(),
                                static_cast<DWORD>((site.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    qv::JournalPlaces places = Win32JournalPlaces(std::nullopt);
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, L"JournalFolder");
    EXPECT_FALSE(PolicyJournalFolder());
    EXPECT_TRUE(places.userFile.native().ends_with(L"\\AppData\\Local\\Quorvex\\418KQ5\\sends.jsonl"));
    const qv::JournalSteps steps = Win32JournalSteps();
    ASSERT_EQ(places.siteFiles, std::vector<fs::path>{fs::path(site) / Widen(steps.computer() + ".jsonl")});

    std::string problem;
    EXPECT_FALSE(steps.user().empty());
    std::ofstream(places.siteFiles[0]) << "x";
    EXPECT_FALSE(steps.append(places.siteFiles[0] / "sub" / "x.jsonl", NumberedLine("KQ", 1), problem));
    EXPECT_NE(problem.find("エラー "), std::string::npos) << problem;
}

// A child process of the next test: appends its share of records.
TEST(JournalWin32, WriterProcess)
{
    const char* name = std::getenv("QV_JOURNAL_WRITER");
    const wchar_t* file = ::_wgetenv(L"QV_JOURNAL_FILE");
    if (!name || !file)
        GTEST_SKIP() << "started by TwoProcessesAppendingNeverInterleave only";
    std::string problem;
    for (std::uint32_t i = 0; i < 1000; ++i)
        ASSERT_TRUE(Win32JournalSteps().append(file, NumberedLine(name, i), problem)) << problem;
}

TEST(JournalWin32, TwoProcessesAppendingNeverInterleave)
{
    const fs::path file = Folder("two") / "sends.jsonl";
    FillJournal(file, qv::kJournalSizeLimit - 400 * 1024);  // rotated while both write
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
    for (const auto& writer : writers) {
        DWORD code = 1;
        ASSERT_EQ(::WaitForSingleObject(writer.get(), 100000), WAIT_OBJECT_0);
        EXPECT_TRUE(::GetExitCodeProcess(writer.get(), &code) && code == 0);
    }
    const qv::JournalSteps steps = Win32JournalSteps();
    ExpectWholeNumberedLines(
        steps.read(qv::RotatedJournal(file)).value_or("") + steps.read(file).value_or(""), 2000);
    EXPECT_TRUE(fs::exists(qv::RotatedJournal(file)));
}

}  // namespace
