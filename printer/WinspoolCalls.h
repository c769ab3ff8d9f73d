// The winspool calls the spooler makes, taken at run time from the system
// folder's winspool.drv: the programs do not import it, so a file of that
// name beside them is never loaded. Tests replace single entries to make a
// call fail or to watch the order of the calls.
#pragma once

#include <functional>

#include <windows.h>
#include <winspool.h>

struct WinspoolCalls {
    // The system's winspool, loaded once; nullptr when it cannot be loaded.
    static HMODULE SystemLibrary();
    // Every entry from `library`; an entry the library lacks, or every entry
    // for no library, fails (FALSE or 0) with ERROR_PROC_NOT_FOUND.
    static WinspoolCalls From(HMODULE library);

    WinspoolCalls() : WinspoolCalls(From(SystemLibrary())) {}

    std::function<BOOL(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD)> enumPrinters;
    std::function<BOOL(LPWSTR, LPHANDLE, LPPRINTER_DEFAULTSW)> openPrinter;
    std::function<BOOL(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD)> getPrinter;
    std::function<DWORD(HANDLE, DWORD, LPBYTE)> startDocPrinter;
    std::function<BOOL(HANDLE, LPPRINTER_DEFAULTSW)> resetPrinter;
    std::function<BOOL(HANDLE, LPVOID, DWORD, LPDWORD)> writePrinter;
    std::function<BOOL(HANDLE)> endDocPrinter;
    // Drops the job being spooled instead of handing it to the printer.
    std::function<BOOL(HANDLE)> abortPrinter;
    std::function<BOOL(HANDLE)> closePrinter;
    // A job of the queue by its id (level 1 follows a sent job).
    std::function<BOOL(HANDLE, DWORD, DWORD, LPBYTE, DWORD, LPDWORD)> getJob;

private:
    struct Empty {};
    explicit WinspoolCalls(Empty) {}
};
