#include "WinSpooler.h"

#include <windows.h>
#include <winspool.h>

#include "framework/Handles.h"

namespace {

inline void ClosePrinterHandle(HANDLE h) { ::ClosePrinter(h); }
using UniquePrinter = UniqueHandle<NullInvalidTraits<HANDLE, ClosePrinterHandle>>;

std::wstring Str(const wchar_t* s) { return s ? std::wstring(s) : std::wstring(); }
std::optional<std::wstring> OptStr(const wchar_t* s)
{
    return s ? std::optional<std::wstring>(s) : std::nullopt;
}

// One EnumPrinters list: asked for its size first, then read into a
// zero-filled buffer. The list can grow between the two calls, so a short
// buffer is asked for again a few times.
struct EnumResult {
    std::vector<BYTE> buffer;
    DWORD count = 0;
};

EnumResult EnumRaw(DWORD flags, const std::optional<std::wstring>& name, DWORD level)
{
    std::wstring nameCopy = name.value_or(L"");
    LPWSTR namePtr = name ? nameCopy.data() : nullptr;
    EnumResult result;
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD needed = 0;
        DWORD count = 0;
        ::EnumPrintersW(flags, namePtr, level, nullptr, 0, &needed, &count);
        if (needed == 0)
            return {};
        result.buffer.assign(needed, 0);
        if (::EnumPrintersW(flags, namePtr, level, result.buffer.data(), needed, &needed, &count)) {
            result.count = count;
            return result;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
    }
    return {};
}

std::vector<qv::PrinterInfo2> ReadLevel2(DWORD flags, const std::optional<std::wstring>& name)
{
    const EnumResult raw = EnumRaw(flags, name, 2);
    const auto* entries = reinterpret_cast<const PRINTER_INFO_2W*>(raw.buffer.data());
    std::vector<qv::PrinterInfo2> list;
    list.reserve(raw.count);
    for (DWORD i = 0; i < raw.count; ++i) {
        const PRINTER_INFO_2W& e = entries[i];
        list.push_back({OptStr(e.pServerName), Str(e.pPrinterName), Str(e.pPortName), Str(e.pDriverName),
                        e.Attributes, e.Status});
    }
    return list;
}

UniquePrinter Open(const std::wstring& printerName, PRINTER_DEFAULTSW* defaults)
{
    std::wstring name = printerName;  // the call takes a writable string
    HANDLE h = nullptr;
    if (!::OpenPrinterW(name.data(), &h, defaults))
        return UniquePrinter();
    return UniquePrinter(h);
}

// The 95/98/Me family reports a printer that waits for the operator in its
// status word.
bool NeedsIntervention(HANDLE printer)
{
    DWORD needed = 0;
    ::GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2W))
        return true;
    std::vector<BYTE> buffer(needed, 0);
    if (!::GetPrinterW(printer, 2, buffer.data(), needed, &needed))
        return true;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    return (info->Status & qv::kStatusUserIntervention) != 0;
}

}  // namespace

std::vector<qv::PrinterInfo4> CWinSpooler::EnumPrinters4()
{
    const EnumResult raw = EnumRaw(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, std::nullopt, 4);
    const auto* entries = reinterpret_cast<const PRINTER_INFO_4W*>(raw.buffer.data());
    std::vector<qv::PrinterInfo4> list;
    list.reserve(raw.count);
    for (DWORD i = 0; i < raw.count; ++i)
        list.push_back({Str(entries[i].pPrinterName), OptStr(entries[i].pServerName), entries[i].Attributes});
    return list;
}

std::vector<qv::PrinterInfo2> CWinSpooler::EnumPrinters2(const std::optional<std::wstring>& server)
{
    return ReadLevel2(PRINTER_ENUM_NAME, server);
}

std::vector<qv::PrinterInfo2> CWinSpooler::EnumLocalPrinters2()
{
    return ReadLevel2(PRINTER_ENUM_LOCAL, std::nullopt);
}

bool CWinSpooler::TestOpen(const std::wstring& printerName)
{
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    return static_cast<bool>(Open(printerName, &defaults));
}

qv::SendResult CWinSpooler::SendRawJob(const std::wstring& printerName, const std::wstring& docName,
                                       std::span<const std::uint8_t> data, bool ntFamily)
{
    PRINTER_DEFAULTSW ntDefaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    PRINTER_DEFAULTSW noDefaults{};
    const UniquePrinter printer = Open(printerName, ntFamily ? &ntDefaults : &noDefaults);
    if (!printer || (!ntFamily && NeedsIntervention(printer.get())))
        return qv::SendResult::Unavailable;

    std::wstring doc = docName;
    DOC_INFO_1W info{doc.data(), nullptr, nullptr};
    if (::StartDocPrinterW(printer.get(), 1, reinterpret_cast<LPBYTE>(&info)) == 0)
        return qv::SendResult::Failed;
    ::ResetPrinterW(printer.get(), nullptr);
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(data.size());
    const bool wrote =
        ::WritePrinter(printer.get(), const_cast<std::uint8_t*>(data.data()), size, &written) &&
        written == size;
    // The job is delivered when it ends; a failure there is a failed send.
    const bool ended = ::EndDocPrinter(printer.get()) != FALSE;
    return wrote && ended ? qv::SendResult::Sent : qv::SendResult::Failed;
}
