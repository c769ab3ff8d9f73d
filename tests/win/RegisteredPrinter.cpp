#include "RegisteredPrinter.h"

#include <vector>

namespace {

const wchar_t kPrintersKey[] = L"System\\CurrentControlSet\\Control\\Print\\Printers\\";

void SetString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

RegisteredPrinter::RegisteredPrinter(const std::wstring& name, const std::wstring& port,
                                     const std::wstring& driver)
    : key_(kPrintersKey + name)
{
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr);
    SetString(key, L"Name", name);
    SetString(key, L"Printer Driver", driver);
    SetString(key, L"Port", port);
    SetString(key, L"Datatype", L"RAW");
    SetString(key, L"Print Processor", L"winprint");
    SetDword(key, L"Attributes", 0x40);
    SetDword(key, L"Status", 0);
    ::RegCloseKey(key);
}

RegisteredPrinter::~RegisteredPrinter() { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str()); }

std::wstring RegisteredPrinter::TempFolder()
{
    std::vector<wchar_t> buffer(32768);
    const DWORD n = ::GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::wstring(buffer.data(), n);
}
