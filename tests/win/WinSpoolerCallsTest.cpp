// The winspool calls of a send, watched through a table of fake calls: a
// write that fails or falls short aborts the job instead of ending it.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/SettingsBlock.h"
#include "printer/WinSpooler.h"

namespace {

HANDLE const kPrinter = reinterpret_cast<HANDLE>(0x4B51);
constexpr std::chrono::milliseconds kWait(300);

// Records every call by name and answers as told.
struct FakeWinspool {
    BOOL writeOk = TRUE;
    int shortBy = 0;  // bytes the write reports fewer than it was given
    DWORD jobId = 7;
    // The job's status at each look at the queue (the last one repeats); none: gone, with this error.
    std::vector<std::optional<DWORD>> queue{std::nullopt};
    DWORD goneError = ERROR_INVALID_PARAMETER;
    std::chrono::milliseconds wait = kWait;  // how long the send follows the job

    std::vector<std::string> calls{};
    std::wstring docName{}, datatype{};
    DWORD bytesGiven = 0;
    std::size_t looks = 0;

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
            docName = reinterpret_cast<const DOC_INFO_1W*>(info)->pDocName;
            datatype = reinterpret_cast<const DOC_INFO_1W*>(info)->pDatatype;
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
        t.getJob = [this](HANDLE, DWORD, DWORD, LPBYTE buffer, DWORD size, LPDWORD needed) {
            const std::optional<DWORD> status = queue[std::min(looks, queue.size() - 1)];
            *needed = sizeof(JOB_INFO_1W);
            const bool read = status && size >= *needed;
            if (read)
                reinterpret_cast<JOB_INFO_1W*>(buffer)->Status = *status;
            looks += read || !status;  // a look ends with the job read or missed
            ::SetLastError(status ? ERROR_INSUFFICIENT_BUFFER : goneError);
            return read;
        };
        return t;
    }
};

using Calls = std::vector<std::string>;

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
        EXPECT_EQ(fake.datatype, L"RAW") << row.what;
    }
}

// Wine's queue cannot hold a job: every outcome but "gone" is played here.
TEST(WinSpoolerCalls, TheJobIsFollowedInTheQueueToItsOutcome)
{
    using enum qv::Delivery;
    constexpr auto gone = std::nullopt;
    constexpr DWORD kError = JOB_STATUS_ERROR;
    const std::tuple<const char*, FakeWinspool, qv::Delivery, const char*> rows[] = {
        {"gone", {}, Delivered, ""},
        {"printed", {.queue = {JOB_STATUS_PRINTED}}, Delivered, ""},
        {"paused", {.queue = {JOB_STATUS_PAUSED}}, Waiting, "一時停止"},
        {"off line", {.queue = {JOB_STATUS_OFFLINE | kError}}, Waiting, "オフライン"},
        {"still queued when the wait ends", {.queue = {0}}, Waiting, "印刷待ち"},
        {"error, then deleted", {.queue = {kError, gone}}, Failed, "エラーのためキューから削除されました"},
        {"an error that passes", {.queue = {kError, JOB_STATUS_PRINTING, gone}}, Delivered, ""},
        {"GetJobW failing", {.goneError = ERROR_ACCESS_DENIED}, Waiting, "状態不明"},
        {"no job id", {.jobId = 0}, Failed, "ジョブを開始できませんでした"},
        {"no wait: not followed", {.wait = {}}, Waiting, "印刷待ち"},
    };
    for (const auto& [what, config, expected, reason] : rows) {
        FakeWinspool fake = config;
        const qv::SendOutcome outcome =
            CWinSpooler(fake.Table()).SendRawJob(L"KQ", qv::kJobName, qv::FactoryDefaults, true, fake.wait);
        EXPECT_EQ(outcome.delivery, expected) << what;
        EXPECT_EQ(outcome.reason, reason) << what;
        EXPECT_EQ(outcome.job, fake.jobId) << what;
    }

    // Without winspool every call fails, and nothing crashes.
    CWinSpooler none(WinspoolCalls::From(nullptr));
    EXPECT_TRUE(none.EnumPrinters4().empty() && none.EnumPrinters2({}).empty() && !none.TestOpen(L"KQ"));
    EXPECT_TRUE(none.SendRawJob(L"KQ", qv::kJobName, qv::FactoryDefaults, true, {}).unavailable);
}

}  // namespace
