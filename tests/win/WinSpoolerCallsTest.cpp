// The winspool calls of a send, watched through a table of fake calls: a
// write that fails or falls short aborts the job instead of ending it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SettingsBlock.h"
#include "printer/WinSpooler.h"

namespace {

HANDLE const kPrinter = reinterpret_cast<HANDLE>(0x4B51);

// Records every call by name and answers as told.
struct FakeWinspool {
    bool opens = true;
    DWORD job = 7;  // StartDocPrinter's job id; 0 is a failure
    BOOL writeOk = TRUE;
    int shortBy = 0;  // bytes the write reports fewer than it was given
    DWORD status = 0;

    std::vector<std::string> calls;
    std::wstring docName;
    DWORD bytesGiven = 0;

    WinspoolCalls Table()
    {
        WinspoolCalls t;
        t.enumPrinters = [this](DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD count) {
            calls.push_back("EnumPrinters");
            *needed = 0;
            *count = 0;
            return TRUE;
        };
        t.openPrinter = [this](LPWSTR, LPHANDLE h, LPPRINTER_DEFAULTSW) {
            calls.push_back("OpenPrinter");
            *h = opens ? kPrinter : nullptr;
            return opens ? TRUE : FALSE;
        };
        t.getPrinter = [this](HANDLE h, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
            calls.push_back("GetPrinter");
            EXPECT_EQ(h, kPrinter);
            EXPECT_EQ(level, 2u);
            *needed = sizeof(PRINTER_INFO_2W);
            if (!buffer || size < sizeof(PRINTER_INFO_2W))
                return FALSE;
            reinterpret_cast<PRINTER_INFO_2W*>(buffer)->Status = status;
            return TRUE;
        };
        t.startDocPrinter = [this](HANDLE h, DWORD level, LPBYTE info) {
            calls.push_back("StartDocPrinter");
            EXPECT_EQ(h, kPrinter);
            EXPECT_EQ(level, 1u);
            const auto* doc = reinterpret_cast<const DOC_INFO_1W*>(info);
            docName = doc->pDocName;
            EXPECT_EQ(doc->pOutputFile, nullptr);
            EXPECT_EQ(doc->pDatatype, nullptr);
            return job;
        };
        t.resetPrinter = [this](HANDLE, LPPRINTER_DEFAULTSW defaults) {
            calls.push_back("ResetPrinter");
            EXPECT_EQ(defaults, nullptr);
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
        t.closePrinter = [this](HANDLE h) {
            calls.push_back("ClosePrinter");
            EXPECT_EQ(h, kPrinter);
            return TRUE;
        };
        return t;
    }
};

using Calls = std::vector<std::string>;

struct WriteRow {
    const char* what;
    BOOL writeOk;
    int shortBy;
    qv::SendResult expected;
    Calls calls;
};

TEST(WinSpoolerCalls, AWriteThatFailsOrFallsShortAbortsTheJob)
{
    const Calls ended = {"OpenPrinter",  "StartDocPrinter", "ResetPrinter",
                         "WritePrinter", "EndDocPrinter",   "ClosePrinter"};
    const Calls aborted = {"OpenPrinter",  "StartDocPrinter", "ResetPrinter",
                           "WritePrinter", "AbortPrinter",    "ClosePrinter"};
    const WriteRow rows[] = {
        {"every byte written", TRUE, 0, qv::SendResult::Sent, ended},
        {"write failed", FALSE, 0, qv::SendResult::Failed, aborted},
        {"one byte short", TRUE, 1, qv::SendResult::Failed, aborted},
        {"nothing written", TRUE, static_cast<int>(qv::kBlockSize), qv::SendResult::Failed, aborted},
    };
    for (const WriteRow& row : rows) {
        FakeWinspool fake;
        fake.writeOk = row.writeOk;
        fake.shortBy = row.shortBy;
        CWinSpooler spooler(fake.Table());
        const qv::SettingsBlock block = qv::FactoryDefaults;
        EXPECT_EQ(spooler.SendRawJob(L"KQ", L"Quorvex Status Write", block, true), row.expected) << row.what;
        EXPECT_EQ(fake.calls, row.calls) << row.what;
        EXPECT_EQ(fake.bytesGiven, 270u) << row.what;
        EXPECT_EQ(fake.docName, L"Quorvex Status Write") << row.what;
    }
}

TEST(WinSpoolerCalls, NoJobMeansNothingToEndOrAbort)
{
    FakeWinspool unopened;
    unopened.opens = false;
    EXPECT_EQ(CWinSpooler(unopened.Table()).SendRawJob(L"KQ", L"doc", qv::FactoryDefaults, true),
              qv::SendResult::Unavailable);
    EXPECT_EQ(unopened.calls, Calls{"OpenPrinter"});

    FakeWinspool refused;
    refused.job = 0;
    EXPECT_EQ(CWinSpooler(refused.Table()).SendRawJob(L"KQ", L"doc", qv::FactoryDefaults, true),
              qv::SendResult::Failed);
    EXPECT_EQ(refused.calls, (Calls{"OpenPrinter", "StartDocPrinter", "ClosePrinter"}));

    // The 95/98/Me family: a printer waiting for the operator gets no job.
    FakeWinspool waiting;
    waiting.status = qv::kStatusUserIntervention;
    EXPECT_EQ(CWinSpooler(waiting.Table()).SendRawJob(L"KQ", L"doc", qv::FactoryDefaults, false),
              qv::SendResult::Unavailable);
    EXPECT_EQ(waiting.calls, (Calls{"OpenPrinter", "GetPrinter", "GetPrinter", "ClosePrinter"}));
}

}  // namespace
