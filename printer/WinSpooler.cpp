#include "WinSpooler.h"

#include <utility>

#include "JobFollowing.h"

namespace {

// An open printer, closed through the same table that opened it.
class PrinterHandle {
public:
    PrinterHandle(const WinspoolCalls& calls, HANDLE h) : calls_(calls), h_(h) {}
    ~PrinterHandle()
    {
        if (h_)
            calls_.closePrinter(h_);
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;

    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    const WinspoolCalls& calls_;
    HANDLE h_;
};

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

EnumResult EnumRaw(const WinspoolCalls& calls, DWORD flags, const std::optional<std::wstring>& name,
                   DWORD level)
{
    std::wstring nameCopy = name.value_or(L"");
    LPWSTR namePtr = name ? nameCopy.data() : nullptr;
    EnumResult result;
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD needed = 0;
        DWORD count = 0;
        calls.enumPrinters(flags, namePtr, level, nullptr, 0, &needed, &count);
        if (needed == 0)
            return {};
        result.buffer.assign(needed, 0);
        if (calls.enumPrinters(flags, namePtr, level, result.buffer.data(), needed, &needed, &count)) {
            result.count = count;
            return result;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
    }
    return {};
}

std::vector<qv::PrinterInfo2> ReadLevel2(const WinspoolCalls& calls, DWORD flags,
                                         const std::optional<std::wstring>& name)
{
    const EnumResult raw = EnumRaw(calls, flags, name, 2);
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

HANDLE Open(const WinspoolCalls& calls, const std::wstring& printerName, PRINTER_DEFAULTSW* defaults)
{
    std::wstring name = printerName;  // the call takes a writable string
    HANDLE h = nullptr;
    return calls.openPrinter(name.data(), &h, defaults) ? h : nullptr;
}

// The 95/98/Me family reports a printer that waits for the operator in its
// status word.
bool NeedsIntervention(const WinspoolCalls& calls, HANDLE printer)
{
    DWORD needed = 0;
    calls.getPrinter(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2W))
        return true;
    std::vector<BYTE> buffer(needed, 0);
    if (!calls.getPrinter(printer, 2, buffer.data(), needed, &needed))
        return true;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    return (info->Status & qv::kStatusUserIntervention) != 0;
}

}  // namespace

std::vector<qv::PrinterInfo4> CWinSpooler::EnumPrinters4()
{
    const EnumResult raw = EnumRaw(calls_, PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, std::nullopt, 4);
    const auto* entries = reinterpret_cast<const PRINTER_INFO_4W*>(raw.buffer.data());
    std::vector<qv::PrinterInfo4> list;
    list.reserve(raw.count);
    for (DWORD i = 0; i < raw.count; ++i)
        list.push_back({Str(entries[i].pPrinterName), OptStr(entries[i].pServerName), entries[i].Attributes});
    return list;
}

std::vector<qv::PrinterInfo2> CWinSpooler::EnumPrinters2(const std::optional<std::wstring>& server)
{
    return ReadLevel2(calls_, PRINTER_ENUM_NAME, server);
}

std::vector<qv::PrinterInfo2> CWinSpooler::EnumLocalPrinters2()
{
    return ReadLevel2(calls_, PRINTER_ENUM_LOCAL, std::nullopt);
}

bool CWinSpooler::TestOpen(const std::wstring& printerName)
{
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    return static_cast<bool>(PrinterHandle(calls_, Open(calls_, printerName, &defaults)));
}

qv::SendOutcome CWinSpooler::SendRawJob(const std::wstring& printerName, const std::wstring& docName,
                                        std::span<const std::uint8_t> data, bool ntFamily,
                                        std::chrono::milliseconds wait)
{
    PRINTER_DEFAULTSW ntDefaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    PRINTER_DEFAULTSW noDefaults{};
    const PrinterHandle printer(calls_, Open(calls_, printerName, ntFamily ? &ntDefaults : &noDefaults));
    if (!printer || (!ntFamily && NeedsIntervention(calls_, printer.get())))
        return {qv::Delivery::Failed, "", 0, true};

    std::wstring doc = docName;
    // Named, not left to the printer's default: a queue whose default is
    // EMF would hand the bytes to its print processor instead of the port.
    wchar_t raw[] = L"RAW";
    DOC_INFO_1W info{doc.data(), nullptr, raw};
    const DWORD job = calls_.startDocPrinter(printer.get(), 1, reinterpret_cast<LPBYTE>(&info));
    if (job == 0)
        return {qv::Delivery::Failed, "ジョブを開始できませんでした", 0, false};
    calls_.resetPrinter(printer.get(), nullptr);
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(data.size());
    const bool wrote =
        calls_.writePrinter(printer.get(), const_cast<std::uint8_t*>(data.data()), size, &written) &&
        written == size;
    if (!wrote) {
        // Ending the job would print the part that was written.
        calls_.abortPrinter(printer.get());
        return {qv::Delivery::Failed, "ジョブを最後まで書き込めませんでした", job, false};
    }
    if (!calls_.endDocPrinter(printer.get()))
        return {qv::Delivery::Failed, "ジョブを終了できませんでした", job, false};
    return FollowJob(calls_, printer.get(), job, wait);
}
