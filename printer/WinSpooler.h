// The Windows print spooler behind the panel's spooler interface.
#pragma once

#include <functional>
#include <utility>

#include <windows.h>
#include <winspool.h>

#include "core/Spooler.h"

// The winspool calls the spooler makes; tests replace single entries to
// make a call fail or to watch the order of the calls.
struct WinspoolCalls {
    std::function<BOOL(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD)> enumPrinters = ::EnumPrintersW;
    std::function<BOOL(LPWSTR, LPHANDLE, LPPRINTER_DEFAULTSW)> openPrinter = ::OpenPrinterW;
    std::function<BOOL(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD)> getPrinter = ::GetPrinterW;
    std::function<DWORD(HANDLE, DWORD, LPBYTE)> startDocPrinter = ::StartDocPrinterW;
    std::function<BOOL(HANDLE, LPPRINTER_DEFAULTSW)> resetPrinter = ::ResetPrinterW;
    std::function<BOOL(HANDLE, LPVOID, DWORD, LPDWORD)> writePrinter = ::WritePrinter;
    std::function<BOOL(HANDLE)> endDocPrinter = ::EndDocPrinter;
    // Drops the job being spooled instead of handing it to the printer.
    std::function<BOOL(HANDLE)> abortPrinter = ::AbortPrinter;
    std::function<BOOL(HANDLE)> closePrinter = ::ClosePrinter;
};

class CWinSpooler : public qv::Spooler {
public:
    explicit CWinSpooler(WinspoolCalls calls = {}) : calls_(std::move(calls)) {}

    std::vector<qv::PrinterInfo4> EnumPrinters4() override;
    std::vector<qv::PrinterInfo2> EnumPrinters2(const std::optional<std::wstring>& server) override;
    std::vector<qv::PrinterInfo2> EnumLocalPrinters2() override;
    bool TestOpen(const std::wstring& printerName) override;
    // A write that fails or falls short aborts the job, so that a cut
    // command never reaches the printer.
    qv::SendOutcome SendRawJob(const std::wstring& printerName, const std::wstring& docName,
                               std::span<const std::uint8_t> data, bool ntFamily,
                               std::chrono::milliseconds wait) override;

private:
    WinspoolCalls calls_;
};
