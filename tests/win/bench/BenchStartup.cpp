// Times how long programs take to show their main window: each is started
// RUNS times (after one start that is not counted), in turns, and timed from
// CreateProcess until a visible top-level window of the process exists, its
// thread answers messages again and nothing of the window awaits painting.
// The process is then ended. Prints every time, the medians, and each
// median against the first program's.
//
// Usage: bench_startup RUNS LABEL=COMMAND-LINE [LABEL=COMMAND-LINE ...]
// Exit codes: 0 timed, 1 a program failed to show a window, 2 bad arguments.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "framework/Handles.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(30);

struct Program {
    std::wstring label;
    std::wstring commandLine;
    std::vector<double> times;  // milliseconds
};

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM lParam)
{
    auto& search = *reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search.processId || !::IsWindowVisible(hwnd))
        return TRUE;
    search.found = hwnd;
    return FALSE;
}

HWND VisibleWindowOf(DWORD processId)
{
    Search search{processId, nullptr};
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool TimedOut(Clock::time_point start) { return Clock::now() - start > kTimeout; }

// Milliseconds until the program's window is shown and idle; nothing and a
// message when it is not.
std::optional<double> TimeStart(const std::wstring& commandLine, std::wstring& error)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring mutableLine = commandLine;
    const Clock::time_point start = Clock::now();
    if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        error = L"cannot start (error " + std::to_wstring(::GetLastError()) + L")";
        return std::nullopt;
    }
    const UniqueKernelHandle process(info.hProcess);
    const UniqueKernelHandle thread(info.hThread);
    const auto fail = [&](const wchar_t* why) {
        error = why;
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), 10000);
        return std::nullopt;
    };

    HWND shown = nullptr;
    while (!(shown = VisibleWindowOf(info.dwProcessId))) {
        if (::WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0)
            return fail(L"ended without showing a window");
        if (TimedOut(start))
            return fail(L"showed no window in time");
    }
    for (;;) {
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutW(shown, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer))
            return fail(L"its window does not answer");
        if (!::GetUpdateRect(shown, nullptr, FALSE))
            break;
        if (TimedOut(start))
            return fail(L"its window never finished painting");
        ::Sleep(0);
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 10000);
    return ms;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Usage(const wchar_t* problem)
{
    std::fwprintf(stderr, L"bench_startup: %ls\n", problem);
    std::fwprintf(stderr, L"usage: bench_startup RUNS LABEL=COMMAND-LINE [LABEL=COMMAND-LINE ...]\n"
                          L"  RUNS: timed starts of each program, 1 to 99\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return Usage(L"give the number of runs and at least one program");
    wchar_t* end = nullptr;
    const long runs = std::wcstol(argv[1], &end, 10);
    if (*end != L'\0' || runs < 1 || runs > 99)
        return Usage(
            (L"runs must be a whole number from 1 to 99, not \"" + std::wstring(argv[1]) + L"\"").c_str());

    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const std::size_t eq = arg.find(L'=');
        if (eq == 0 || eq == std::wstring::npos || eq + 1 == arg.size())
            return Usage((L"expected LABEL=COMMAND-LINE, not \"" + arg + L"\"").c_str());
        programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}});
    }

    // One start each that is not counted: the first start of a program
    // pays for loading its files into the cache.
    for (long run = -1; run < runs; ++run) {
        for (Program& program : programs) {
            std::wstring error;
            const std::optional<double> ms = TimeStart(program.commandLine, error);
            if (!ms) {
                std::fwprintf(stderr, L"bench_startup: %ls: %ls\n", program.label.c_str(), error.c_str());
                return 1;
            }
            if (run >= 0)
                program.times.push_back(*ms);
        }
    }

    const double base = Median(programs.front().times);
    for (const Program& program : programs) {
        std::wprintf(L"%-10ls", program.label.c_str());
        for (const double ms : program.times)
            std::wprintf(L" %6.1f", ms);
        const double median = Median(program.times);
        std::wprintf(L"   median %6.1f ms   %.2f x %ls\n", median, median / base,
                     programs.front().label.c_str());
    }
    return 0;
}
