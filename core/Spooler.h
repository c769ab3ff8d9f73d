// What the panel needs of a print spooler, as an interface: the Windows
// spooler implements it, tests use fakes.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "SendOutcome.h"

namespace qv {

inline constexpr wchar_t kPrinterDriver[] = L"Tav Kestrolinea 418KQ5";
inline constexpr wchar_t kJobName[] = L"Quorvex Status Write";
inline constexpr wchar_t kFilePort[] = L"FILE:";
// How long a send follows its job once the spooler has it.
inline constexpr std::chrono::seconds kJobFollowTime{10};
inline constexpr std::uint32_t kAttributeNetwork = 0x10;
inline constexpr std::uint32_t kStatusUserIntervention = 0x00100000;

// A level-4 entry: name, server and attributes.
struct PrinterInfo4 {
    std::wstring printerName;
    std::optional<std::wstring> serverName;  // none for a local printer
    std::uint32_t attributes = 0;
};

// A level-2 entry.
struct PrinterInfo2 {
    std::optional<std::wstring> serverName;
    std::wstring printerName;
    std::wstring portName;
    std::wstring driverName;
    std::uint32_t attributes = 0;
    std::uint32_t status = 0;
};

class Spooler {
public:
    virtual ~Spooler() = default;
    // Local printers and connections, level 4.
    virtual std::vector<PrinterInfo4> EnumPrinters4() = 0;
    // The level-2 list of one server (none: the local machine).
    virtual std::vector<PrinterInfo2> EnumPrinters2(const std::optional<std::wstring>& server) = 0;
    // Local printers, level 2 (the 95/98/Me rule).
    virtual std::vector<PrinterInfo2> EnumLocalPrinters2() = 0;
    // Opens the printer for use and closes it again.
    virtual bool TestOpen(const std::wstring& printerName) = 0;
    // One raw job of `data`. ntFamily selects how the printer is opened and
    // checked. After the job is handed over it is followed for up to `wait`
    // (zero: not at all, the outcome is Waiting).
    virtual SendOutcome SendRawJob(const std::wstring& printerName, const std::wstring& docName,
                                   std::span<const std::uint8_t> data, bool ntFamily,
                                   std::chrono::milliseconds wait) = 0;
};

}  // namespace qv
