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
    BOOL writeOk = TRUE;
    int shortBy = 0;  // bytes the write reports fewer than it was given

    std::vector<std::string> calls;
    std::wstring docName;
    DWORD bytesGiven = 0;

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
            return DWORD{7};
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
        EXPECT_EQ(spooler.SendRawJob(L"KQ", L"Quorvex Status Write", block, true, {}).delivery, row.expected)
            << row.what;
        EXPECT_EQ(fake.calls, row.calls) << row.what;
        EXPECT_EQ(fake.bytesGiven, 270u) << row.what;
        EXPECT_EQ(fake.docName, L"Quorvex Status Write") << row.what;
    }
}

}  // namespace
