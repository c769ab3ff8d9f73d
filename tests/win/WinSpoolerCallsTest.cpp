// The winspool calls of a send, watched through a table of fake calls: a
// write that fails or falls short aborts the job instead of ending it, and
// the job is followed in the queue to its outcome.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/SettingsBlock.h"
#include "framework/Text.h"
#include "printer/WinSpooler.h"

namespace {

HANDLE const kPrinter = reinterpret_cast<HANDLE>(0x4B51);

// Records every call by name and answers as told.
struct FakeWinspool {
    BOOL writeOk = TRUE;
    int shortBy = 0;  // bytes the write reports fewer than it was given
    DWORD jobId = 7;
    // What each look at the queue finds, the last one again and again: the
    // job's status, or no job and this error.
    struct Queue {
        std::optional<DWORD> status;
        DWORD error = ERROR_INVALID_PARAMETER;
    };
    std::vector<Queue> queue{{}};

    std::vector<std::string> calls;
    std::wstring docName;
    std::wstring datatype;
    DWORD bytesGiven = 0;
    int looks = 0;

    WinspoolCalls Table()
    {
        WinspoolCalls t;
        t.openPrinter = [this](LPWSTR, LPHANDLE h, LPPRINTER_DEFAULTSW) {
            calls.push_back("OpenPrinter");
            *h = kPrinter;
            return TRUE;
        };
        t.startDocPrinter = [this](HANDLE, DWORD, LPBYTE info) {
            calls.push_back("StartDocPrinter");
            const auto* doc = reinterpret_cast<const DOC_INFO_1W*>(info);
            docName = doc->pDocName;
            datatype = doc->pDatatype ? doc->pDatatype : L"(none)";
            return jobId;
        };
        t.resetPrinter = [this](HANDLE, LPPRINTER_DEFAULTSW) {
            calls.push_back("ResetPrinter");
            return TRUE;
        };
        t.writePrinter = [this](HANDLE, LPVOID, DWORD size, LPDWORD written) {
            calls.push_back("WritePrinter");
            bytesGiven = size;
            *written = writeOk ? size - static_cast<DWORD>(shortBy) : 0;
            return writeOk;
        };
        t.endDocPrinter = [this](HANDLE) {
            calls.push_back("EndDocPrinter");
            return TRUE;
        };
        t.abortPrinter = [this](HANDLE) {
            calls.push_back("AbortPrinter");
            return TRUE;
        };
        t.closePrinter = [this](HANDLE) {
            calls.push_back("ClosePrinter");
            return TRUE;
        };
        t.getJob = [this](HANDLE, DWORD id, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
            EXPECT_EQ(id, jobId);
            EXPECT_EQ(level, 1u);
            const Queue& now = queue[std::min<std::size_t>(looks, queue.size() - 1)];
            if (!now.status) {
                ++looks;
                ::SetLastError(now.error);
                return FALSE;
            }
            *needed = sizeof(JOB_INFO_1W);
            if (size < *needed) {
                ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return FALSE;
            }
            ++looks;
            JOB_INFO_1W info{};
            info.JobId = id;
            info.Status = *now.status;
            std::memcpy(buffer, &info, sizeof info);
            return TRUE;
        };
        return t;
    }
};

using Calls = std::vector<std::string>;
constexpr std::chrono::milliseconds kWait(300);

struct WriteRow {
    const char* what;
    BOOL writeOk;
    int shortBy;
    qv::Delivery expected;
    Calls calls;
};

TEST(WinSpoolerCalls, AWriteThatFailsOrFallsShortAbortsTheJob)
{
    const Calls ended = {"OpenPrinter",  "StartDocPrinter", "ResetPrinter",
                         "WritePrinter", "EndDocPrinter",   "ClosePrinter"};
    const Calls aborted = {"OpenPrinter",  "StartDocPrinter", "ResetPrinter",
                           "WritePrinter", "AbortPrinter",    "ClosePrinter"};
    const WriteRow rows[] = {
        {"every byte written", TRUE, 0, qv::Delivery::Delivered, ended},
        {"write failed", FALSE, 0, qv::Delivery::Failed, aborted},
        {"one byte short", TRUE, 1, qv::Delivery::Failed, aborted},
        {"nothing written", TRUE, static_cast<int>(qv::kBlockSize), qv::Delivery::Failed, aborted},
    };
    for (const WriteRow& row : rows) {
        FakeWinspool fake;
        fake.writeOk = row.writeOk;
        fake.shortBy = row.shortBy;
        CWinSpooler spooler(fake.Table());
        const qv::SettingsBlock block = qv::FactoryDefaults;
        EXPECT_EQ(spooler.SendRawJob(L"KQ", L"Quorvex Status Write", block, true, kWait).delivery,
                  row.expected)
            << row.what;
        EXPECT_EQ(fake.calls, row.calls) << row.what;
        EXPECT_EQ(fake.bytesGiven, 270u) << row.what;
        EXPECT_EQ(fake.docName, L"Quorvex Status Write") << row.what;
        // Named: a queue whose default type is EMF would not pass the bytes on.
        EXPECT_EQ(fake.datatype, L"RAW") << row.what;
    }
}

struct QueueRow {
    const char* what;
    std::vector<FakeWinspool::Queue> queue;
    qv::Delivery expected;
    const char* reason;
    int looks;  // -1: any number
};

TEST(WinSpoolerCalls, TheJobIsFollowedInTheQueueToItsOutcome)
{
    using Q = FakeWinspool::Queue;
    const QueueRow rows[] = {
        {"gone at once", {Q{}}, qv::Delivery::Delivered, "", 1},
        {"gone, no error code (Wine)", {Q{std::nullopt, ERROR_SUCCESS}}, qv::Delivery::Delivered, "", 1},
        {"spooled, printing, gone",
         {Q{JOB_STATUS_SPOOLING}, Q{JOB_STATUS_PRINTING}, Q{}},
         qv::Delivery::Delivered,
         "",
         3},
        {"reported printed", {Q{JOB_STATUS_PRINTED}}, qv::Delivery::Delivered, "", 1},
        {"paused", {Q{JOB_STATUS_PAUSED}}, qv::Delivery::Waiting, "一時停止", 1},
        {"off line", {Q{JOB_STATUS_OFFLINE | JOB_STATUS_ERROR}}, qv::Delivery::Waiting, "オフライン", 1},
        {"out of paper", {Q{JOB_STATUS_PAPEROUT}}, qv::Delivery::Waiting, "用紙切れ", 1},
        {"still queued when the wait ends", {Q{0}}, qv::Delivery::Waiting, "印刷待ち", -1},
        {"in error when the wait ends", {Q{JOB_STATUS_ERROR}}, qv::Delivery::Waiting, "エラー", -1},
        {"error, then deleted",
         {Q{JOB_STATUS_ERROR}, Q{}},
         qv::Delivery::Failed,
         "エラーのためキューから削除されました",
         2},
        {"error while deleted",
         {Q{JOB_STATUS_ERROR | JOB_STATUS_DELETING}},
         qv::Delivery::Failed,
         "エラーのためキューから削除されました",
         1},
        {"an error that passes",
         {Q{JOB_STATUS_ERROR}, Q{JOB_STATUS_PRINTING}, Q{}},
         qv::Delivery::Delivered,
         "",
         3},
        {"the queue cannot be read",
         {Q{std::nullopt, ERROR_ACCESS_DENIED}},
         qv::Delivery::Waiting,
         "状態不明",
         1},
    };
    const qv::SettingsBlock block = qv::FactoryDefaults;
    for (const QueueRow& row : rows) {
        FakeWinspool fake;
        fake.queue = row.queue;
        CWinSpooler spooler(fake.Table());
        const qv::SendOutcome outcome = spooler.SendRawJob(L"KQ", qv::kJobName, block, true, kWait);
        EXPECT_EQ(outcome.delivery, row.expected) << row.what;
        EXPECT_EQ(outcome.reason, row.reason) << row.what;
        EXPECT_EQ(outcome.job, 7u) << row.what;
        if (row.looks >= 0)
            EXPECT_EQ(fake.looks, row.looks) << row.what;
        else
            EXPECT_GE(fake.looks, 2) << row.what;
        EXPECT_EQ(fake.calls.back(), "ClosePrinter") << row.what;
    }

    // No job id: nothing to follow, the send failed.
    FakeWinspool noJob;
    noJob.jobId = 0;
    const qv::SendOutcome failed =
        CWinSpooler(noJob.Table()).SendRawJob(L"KQ", qv::kJobName, block, true, kWait);
    EXPECT_EQ(failed.delivery, qv::Delivery::Failed);
    EXPECT_EQ(failed.job, 0u);
    EXPECT_EQ(noJob.looks, 0);

    // No wait: the job is not looked at and counts as waiting.
    FakeWinspool unfollowed;
    const qv::SendOutcome queued =
        CWinSpooler(unfollowed.Table()).SendRawJob(L"KQ", qv::kJobName, block, true, {});
    EXPECT_EQ(queued.delivery, qv::Delivery::Waiting);
    EXPECT_EQ(unfollowed.looks, 0);
}

// winspool comes from the system folder; without it nothing is listed and
// no send reaches a printer, and nothing crashes.
TEST(WinSpoolerCalls, WinspoolIsTheSystemOneAndItsAbsenceFailsEveryCall)
{
    const HMODULE library = WinspoolCalls::SystemLibrary();
    ASSERT_NE(library, nullptr);
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(library, path.data(), static_cast<DWORD>(path.size())));
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(::lstrcmpiW(std::filesystem::path(path).parent_path().c_str(), system), 0) << Narrow(path);

    CWinSpooler spooler(WinspoolCalls::From(nullptr));
    EXPECT_TRUE(spooler.EnumPrinters4().empty());
    EXPECT_TRUE(spooler.EnumPrinters2(std::nullopt).empty());
    EXPECT_TRUE(spooler.EnumLocalPrinters2().empty());
    EXPECT_FALSE(spooler.TestOpen(L"KQ"));
    const qv::SendOutcome outcome = spooler.SendRawJob(L"KQ", qv::kJobName, qv::FactoryDefaults, true, kWait);
    EXPECT_EQ(outcome.delivery, qv::Delivery::Failed);
    EXPECT_TRUE(outcome.unavailable);
}

}  // namespace
