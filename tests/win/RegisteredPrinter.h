// One printer in Wine's spooler registry for the life of the object, as an
// installer would leave it; its port may be a file that receives the jobs.
#pragma once

#include <windows.h>

#include <string>

class RegisteredPrinter {
public:
    RegisteredPrinter(const std::wstring& name, const std::wstring& port,
                      const std::wstring& driver = L"Tav Kestrolinea 418KQ5");
    ~RegisteredPrinter();
    RegisteredPrinter(const RegisteredPrinter&) = delete;
    RegisteredPrinter& operator=(const RegisteredPrinter&) = delete;

    // The temporary folder with its trailing backslash.
    static std::wstring TempFolder();

private:
    std::wstring key_;
};
