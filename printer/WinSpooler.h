// The Windows print spooler behind the panel's spooler interface.
#pragma once

#include <utility>

#include "WinspoolCalls.h"
#include "core/Spooler.h"

class CWinSpooler : public qv::Spooler {
public:
    explicit CWinSpooler(WinspoolCalls calls = {}) : calls_(std::move(calls)) {}

    std::vector<qv::PrinterInfo4> EnumPrinters4() override;
    std::vector<qv::PrinterInfo2> EnumPrinters2(const std::optional<std::wstring>& server) override;
    std::vector<qv::PrinterInfo2> EnumLocalPrinters2() override;
    bool TestOpen(const std::wstring& printerName) override;
    // A write that fails or falls short aborts the job, so that a cut
    // command never reaches the printer. A job handed over is followed in
    // the queue until it leaves it, stops there, or `wait` ends.
    qv::SendOutcome SendRawJob(const std::wstring& printerName, const std::wstring& docName,
                               std::span<const std::uint8_t> data, bool ntFamily,
                               std::chrono::milliseconds wait) override;

private:
    WinspoolCalls calls_;
};
