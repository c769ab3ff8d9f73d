// The Windows print spooler behind the panel's spooler interface.
#pragma once

#include "core/Spooler.h"

class CWinSpooler : public qv::Spooler {
public:
    std::vector<qv::PrinterInfo4> EnumPrinters4() override;
    std::vector<qv::PrinterInfo2> EnumPrinters2(const std::optional<std::wstring>& server) override;
    std::vector<qv::PrinterInfo2> EnumLocalPrinters2() override;
    bool TestOpen(const std::wstring& printerName) override;
    qv::SendResult SendRawJob(const std::wstring& printerName, const std::wstring& docName,
                              std::span<const std::uint8_t> data, bool ntFamily) override;
};
