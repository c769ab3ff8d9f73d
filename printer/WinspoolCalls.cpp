#include "WinspoolCalls.h"

#include "framework/SystemLibrary.h"

namespace {

// The entry `name` of `library` as a callable of the same signature (`Fn`
// only names it: nothing is imported); without it, a callable that fails
// with `failed`.
template <class Fn, class Result> auto Entry(HMODULE library, const char* name, Result failed)
{
    const auto proc =
        library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
    return [proc, failed](auto... args) -> Result {
        if (!proc) {
            ::SetLastError(ERROR_PROC_NOT_FOUND);
            return failed;
        }
        return proc(args...);
    };
}

}  // namespace

HMODULE WinspoolCalls::SystemLibrary()
{
    // Kept for the life of the process, like a library the program imported.
    static const HMODULE library = LoadSystemLibrary(L"winspool.drv");
    return library;
}

WinspoolCalls WinspoolCalls::From(HMODULE library)
{
    WinspoolCalls t{Empty{}};
    t.enumPrinters = Entry<decltype(&::EnumPrintersW)>(library, "EnumPrintersW", FALSE);
    t.openPrinter = Entry<decltype(&::OpenPrinterW)>(library, "OpenPrinterW", FALSE);
    t.getPrinter = Entry<decltype(&::GetPrinterW)>(library, "GetPrinterW", FALSE);
    t.startDocPrinter = Entry<decltype(&::StartDocPrinterW)>(library, "StartDocPrinterW", DWORD{0});
    t.resetPrinter = Entry<decltype(&::ResetPrinterW)>(library, "ResetPrinterW", FALSE);
    t.writePrinter = Entry<decltype(&::WritePrinter)>(library, "WritePrinter", FALSE);
    t.endDocPrinter = Entry<decltype(&::EndDocPrinter)>(library, "EndDocPrinter", FALSE);
    t.abortPrinter = Entry<decltype(&::AbortPrinter)>(library, "AbortPrinter", FALSE);
    t.closePrinter = Entry<decltype(&::ClosePrinter)>(library, "ClosePrinter", FALSE);
    t.getJob = Entry<decltype(&::GetJobW)>(library, "GetJobW", FALSE);
    return t;
}
