// The built program as a whole process: it starts, shows its main window
// under its fixed title, and leaves on the exit command.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"
#include "framework/Handles.h"
#include "resource.h"

namespace {

const wchar_t kPrintersKey[] = L"System\\CurrentControlSet\\Control\\Print\\Printers\\";

// A printer in Wine's spooler registry, removed again at the end of a test.
class RegisteredPrinter {
public:
    RegisteredPrinter(const std::wstring& name, const std::wstring& port) : key_(kPrintersKey + name)
    {
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr);
        SetString(key, L"Name", name);
        SetString(key, L"Printer Driver", L"Tav Kestrolinea 418KQ5");
        SetString(key, L"Port", port);
        SetString(key, L"Datatype", L"RAW");
        SetString(key, L"Print Processor", L"winprint");
        SetDword(key, L"Attributes", 0x40);
        SetDword(key, L"Status", 0);
        ::RegCloseKey(key);
    }
    ~RegisteredPrinter() { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str()); }

private:
    static void SetString(HKEY key, const wchar_t* name, const std::wstring& value)
    {
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    static void SetDword(HKEY key, const wchar_t* name, DWORD value)
    {
        ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    std::wstring key_;
};

HWND WaitForMainWindow(DWORD ms)
{
    for (DWORD waited = 0; waited < ms; waited += 100) {
        // Found during its initialisation it is not shown yet.
        const HWND w = ::FindWindowW(L"#32770", W("Tav Kestrolinea 418KQ5 クオーヴェクス").c_str());
        if (w && ::IsWindowVisible(w))
            return w;
        ::Sleep(100);
    }
    return nullptr;
}

TEST(MainWindowProcess, StartsShowsItsWindowAndLeavesOnExit)
{
    const char* exe = std::getenv("QV_EXE");
    ASSERT_NE(exe, nullptr) << "QV_EXE names the built program";
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    RegisteredPrinter printer(L"KQ Process Test", std::wstring(temp) + L"qv-process-job.bin");

    std::wstring commandLine = L"\"" + W(exe) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &pi));
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);

    const HWND window = WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    EXPECT_EQ(owner, pi.dwProcessId);

    // Nothing was changed, so leaving asks nothing.
    ::PostMessageW(window, WM_COMMAND, ID_FILE_EXIT, 0);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    ::GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
}

}  // namespace
