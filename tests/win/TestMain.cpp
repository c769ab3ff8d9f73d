// Test entry for the Windows suites: common controls, and a watchdog so a
// test stuck in a modal run fails instead of hanging the suite.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "FakeSpooler.h"
#include "ui/PanelMessages.h"

namespace {

HANDLE g_testStarted = nullptr;

DWORD WINAPI Watchdog(void*)
{
    for (;;) {
        if (::WaitForSingleObject(g_testStarted, 120000) == WAIT_TIMEOUT) {
            std::fputs("watchdog: a test ran for over two minutes; ending the suite\n", stderr);
            std::fflush(stderr);
            ::ExitProcess(3);
        }
    }
}

class WatchdogListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { ::SetEvent(g_testStarted); }
};

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                             ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    InstallValidationMessages();
    // No suite talks to the machine's spooler unless it asks to.
    SetCurrentSpooler(&DefaultFakeSpooler());
    g_testStarted = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ::CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    testing::UnitTest::GetInstance()->listeners().Append(new WatchdogListener);
    return RUN_ALL_TESTS();
}
