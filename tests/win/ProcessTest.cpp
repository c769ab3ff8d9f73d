// The built program as separate processes: the single instance, the
// registration switches and the server switch.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "RegisteredPrinter.h"
#include "TestSupport.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;

struct Process {
    UniqueKernelHandle handle;
    DWORD id = 0;
    DWORD threadId = 0;
};

struct WindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

// A visible top-level window of the process, if any.
HWND VisibleWindowOf(DWORD processId)
{
    WindowSearch search{processId};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<WindowSearch*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s.processId && ::IsWindowVisible(hwnd)) {
                s.found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class ProcessTest : public testing::Test {
protected:
    RegisteredPrinter printer{L"KQ Process", RegisteredPrinter::TempFolder() + L"qv-process-test-job.bin"};
    std::wstring exe;

    void SetUp() override
    {
        const char* path = std::getenv("QV_EXE");
        ASSERT_NE(path, nullptr) << "QV_EXE names the built program";
        exe = W(path);
    }

    Process Start(const std::wstring& arguments, const std::wstring& program = {})
    {
        std::wstring commandLine = L"\"" + (program.empty() ? exe : program) + L"\"" + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        Process p;
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                              &pi))
            return p;
        p.handle.reset(pi.hProcess);
        ::CloseHandle(pi.hThread);
        p.id = pi.dwProcessId;
        p.threadId = pi.dwThreadId;
        return p;
    }

    // Waits for the end; reports whether a window of its own was ever seen.
    DWORD WaitForExit(const Process& p, bool& showedWindow, DWORD ms = 30000)
    {
        showedWindow = false;
        for (DWORD waited = 0; waited < ms; waited += 50) {
            if (::WaitForSingleObject(p.handle.get(), 50) == WAIT_OBJECT_0) {
                DWORD code = 99;
                ::GetExitCodeProcess(p.handle.get(), &code);
                return code;
            }
            showedWindow = showedWindow || VisibleWindowOf(p.id) != nullptr;
        }
        ADD_FAILURE() << "the process did not end";
        ::TerminateProcess(p.handle.get(), 98);
        return 98;
    }

    static HWND WaitForPanel(const Process& p, DWORD ms = 30000)
    {
        for (DWORD waited = 0; waited < ms; waited += 100) {
            if (const HWND w = VisibleWindowOf(p.id)) {
                wchar_t title[128] = {};
                ::GetWindowTextW(w, title, 128);
                if (title == W("Tav Kestrolinea 418KQ5 クオーヴェクス"))
                    return w;
            }
            if (::WaitForSingleObject(p.handle.get(), 100) == WAIT_OBJECT_0)
                return nullptr;
        }
        return nullptr;
    }

    void Close(const Process& p, HWND panel)
    {
        ::PostMessageW(panel, WM_COMMAND, ID_FILE_EXIT, 0);
        bool ignored = false;
        EXPECT_EQ(WaitForExit(p, ignored), 0u);
    }
};

TEST_F(ProcessTest, StartsWithItsWindowFoundByClassAndTitleAndLeavesOnExit)
{
    const Process p = Start(L"");
    ASSERT_TRUE(p.handle);
    ASSERT_NE(WaitForPanel(p), nullptr);
    // The way a second start finds the first one.
    const HWND found = ::FindWindowW(L"#32770", W("Tav Kestrolinea 418KQ5 クオーヴェクス").c_str());
    ASSERT_NE(found, nullptr);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(found, &owner);
    EXPECT_EQ(owner, p.id);
    // Nothing was changed, so leaving asks nothing and ends with 0.
    Close(p, found);
}

TEST_F(ProcessTest, ASecondStartRaisesTheMinimisedPanelAndEndsWithoutAWindow)
{
    const Process first = Start(L"");
    ASSERT_TRUE(first.handle);
    const HWND panel = WaitForPanel(first);
    ASSERT_NE(panel, nullptr);
    ::ShowWindow(panel, SW_MINIMIZE);
    for (int i = 0; i < 50 && !::IsIconic(panel); ++i)
        ::Sleep(100);
    ASSERT_TRUE(::IsIconic(panel));

    const Process second = Start(L"");
    ASSERT_TRUE(second.handle);
    bool showedWindow = true;
    EXPECT_EQ(WaitForExit(second, showedWindow), 0u);
    EXPECT_FALSE(showedWindow);

    for (int i = 0; i < 50 && ::IsIconic(panel); ++i)
        ::Sleep(100);
    EXPECT_FALSE(::IsIconic(panel)) << "restored";
    EXPECT_TRUE(::IsWindowVisible(panel));
    EXPECT_EQ(::GetForegroundWindow(), panel);
    Close(first, panel);
}

TEST_F(ProcessTest, ACopyUnderAnotherNameIsNotStopped)
{
    const fs::path copy = fs::temp_directory_path() / "qvx4k5-copy.exe";
    fs::copy_file(fs::path(exe), copy, fs::copy_options::overwrite_existing);
    const Process first = Start(L"");
    const HWND panel = WaitForPanel(first);
    ASSERT_NE(panel, nullptr);
    const Process other = Start(L"", copy.wstring());
    const HWND otherPanel = WaitForPanel(other);
    EXPECT_NE(otherPanel, nullptr);
    if (otherPanel)
        Close(other, otherPanel);
    Close(first, panel);
    std::error_code ec;
    fs::remove(copy, ec);
}

TEST_F(ProcessTest, RegistrationSwitchesEndWithoutAWindow)
{
    for (const wchar_t* arguments : {L" /RegServer", L" -unregserver", L" -REGSERVER", L" /UnregServer"}) {
        const Process p = Start(arguments);
        ASSERT_TRUE(p.handle);
        bool showedWindow = true;
        EXPECT_EQ(WaitForExit(p, showedWindow), 0u) << Narrow(arguments);
        EXPECT_FALSE(showedWindow) << Narrow(arguments);
    }
}

TEST_F(ProcessTest, ASwitchFollowedByMoreTextStartsThePanel)
{
    for (const wchar_t* arguments : {L" /RegServer extra", L" -UnregServer "}) {
        const Process p = Start(arguments);
        const HWND panel = WaitForPanel(p);
        ASSERT_NE(panel, nullptr) << Narrow(arguments);
        Close(p, panel);
    }
}

TEST_F(ProcessTest, TheEmbeddingSwitchServesWithoutAWindowUntilQuit)
{
    for (const wchar_t* arguments : {L" -Embedding", L" /automation"}) {
        const Process p = Start(arguments);
        ASSERT_TRUE(p.handle);
        // Still running a while later, and nothing shown.
        EXPECT_EQ(::WaitForSingleObject(p.handle.get(), 3000), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_EQ(VisibleWindowOf(p.id), nullptr);
        EXPECT_TRUE(::PostThreadMessageW(p.threadId, WM_QUIT, 0, 0));
        bool showedWindow = true;
        EXPECT_EQ(WaitForExit(p, showedWindow), 0u) << Narrow(arguments);
        EXPECT_FALSE(showedWindow);
    }
}

}  // namespace
