// Where the panel's start goes: repeats the steps of the main window's
// initialisation one by one with the panel's own classes, in the same order,
// and prints the time of each. Each page is also created once from its bare
// template with a dialog procedure that does nothing, so that the page's
// own work (filling lists, showing values) stands apart from the windows
// its template makes. Uses the machine's spooler; register one printer of
// the panel's driver first.
//
// bench_profile          the steps
// bench_profile whole    the real main window, started in this process and
//                        timed until it is shown
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <cwchar>

#include "framework/Seams.h"
#include "resource.h"
#include "ui/MainPanelDlg.h"
#include "ui/PanelArt.h"

namespace {

using Clock = std::chrono::steady_clock;

class Stopwatch {
public:
    // Milliseconds since the last lap (or since construction).
    double Lap()
    {
        const Clock::time_point now = Clock::now();
        const double ms = std::chrono::duration<double, std::milli>(now - last_).count();
        last_ = now;
        return ms;
    }

private:
    Clock::time_point last_ = Clock::now();
};

double total = 0;

// One line per step, "label<TAB>milliseconds", for scripts/bench_startup.sh
// to take the medians of several runs.
void Report(const char* step, double ms, bool counted = true)
{
    if (counted)
        total += ms;
    std::printf("%s\t%.1f\n", step, ms);
}

// Milliseconds from the creation of this process until now.
double SinceProcessStart()
{
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    ::GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

INT_PTR CALLBACK TrivialProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

void ProfileSteps()
{
    CMainPanelDlg panel;  // holds the pages, menu and toolbar the steps fill
    Stopwatch watch;
    CDialog frame(IDD_MAIN);
    frame.Create(nullptr);
    const HWND main = frame.m_hWnd;
    Report("main window template", watch.Lap());

    panel.menu.LoadMenu(IDR_MENU_MAIN);
    Report("menu: load and align", watch.Lap());
    for (const MenuIcon& icon : kMenuIcons)
        panel.menu.SetItemIcon(nullptr, icon.command, icon.bitmap16);
    Report("menu: eleven icons", watch.Lap());
    const HMENU templateMenu = ::GetMenu(main);
    if (::SetMenu(main, panel.menu.GetSafeHmenu()))
        panel.menu.Detach();
    if (templateMenu)
        ::DestroyMenu(templateMenu);
    Report("menu: becomes the bar", watch.Lap());

    panel.toolbar.Create(main, IDC_TOOLBAR, IDB_TOOLBAR);
    Report("toolbar", watch.Lap());
    const HWND status = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0,
                                          0, 0, 0, main, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    int parts[2] = {200, -1};
    ::SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    Report("status bar", watch.Lap());

    const HWND tab = ::GetDlgItem(main, IDC_TAB);
    const UniqueImageList images(::ImageList_LoadImageW(::GetModuleHandleW(nullptr),
                                                        MAKEINTRESOURCEW(IDB_TABS), 16, 1, RGB(192, 192, 192),
                                                        IMAGE_BITMAP, LR_CREATEDIBSECTION));
    TabCtrl_SetImageList(tab, images.get());
    for (int i = 0; i < CMainPanelDlg::kPageCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"タブ");
        TabCtrl_InsertItem(tab, i, &item);
    }
    Report("tab images and six tabs", watch.Lap());

    struct PageStep {
        const char* name;
        UINT templateId;
    };
    static constexpr PageStep kPages[] = {
        {"select", IDD_PAGE_SELECT}, {"param", IDD_PAGE_PARAM}, {"msw1", IDD_PAGE_MSW1},
        {"msw2", IDD_PAGE_MSW2},     {"msw3", IDD_PAGE_MSW3},   {"msw4", IDD_PAGE_MSW4},
    };
    double pages[CMainPanelDlg::kPageCount] = {};
    for (int i = 0; i < CMainPanelDlg::kPageCount; ++i) {
        CSettingsPage& page = panel.PageOfTab(i);
        page.Create(main);
        ::SetWindowPos(page.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        page.ShowWindow(i == 0 ? SW_SHOW : SW_HIDE);
        pages[i] = watch.Lap();
        char label[64];
        std::snprintf(label, sizeof label, "page %s", kPages[i].name);
        Report(label, pages[i]);
    }

    for (int i = 0; i < CMainPanelDlg::kPageCount; ++i) {
        qv::SettingsBlock block = qv::FactoryDefaults;
        panel.PageOfTab(i).LoadFromBlock(block);
        char label[64];
        std::snprintf(label, sizeof label, "values shown on page %s", kPages[i].name);
        Report(label, watch.Lap());
    }

    panel.printerDlg.startupComplete = false;
    const INT_PTR chosen = panel.printerDlg.DoModal(main);
    Report(chosen == IDOK ? "printer found and taken" : "printer selection (none taken)", watch.Lap());

    panel.pageSelect.UpdateFormButtonCaption();
    CMainPanelDlg::UpdateSystemMenu(main);
    Report("form button caption, system menu", watch.Lap());

    ::ShowWindow(main, SW_SHOW);
    ::UpdateWindow(main);
    Report("shown and painted", watch.Lap());
    Report("sum of the steps", total, false);

    // The same templates once more with a procedure that does nothing: what
    // is left of a page's time is its own work. (Measured last, so the
    // steps above keep the panel's order; these run with warm caches.)
    double own = 0;
    for (int i = 0; i < CMainPanelDlg::kPageCount; ++i) {
        watch.Lap();
        const HWND bare = ::CreateDialogParamW(::GetModuleHandleW(nullptr),
                                               MAKEINTRESOURCEW(kPages[i].templateId), main, TrivialProc, 0);
        const double ms = watch.Lap();
        ::DestroyWindow(bare);
        own += pages[i] - ms;
        char label[64];
        std::snprintf(label, sizeof label, "(page %s template alone)", kPages[i].name);
        Report(label, ms, false);
    }
    Report("(pages' own work: lists, values)", own, false);
}

void ProfileWhole()
{
    CMainPanelDlg panel;
    Stopwatch watch;
    double shown = 0;
    CDialog::QueueModalScript([&](CDialog& d) {
        shown = watch.Lap();
        d.EndDialog(IDOK);
    });
    panel.DoModal();
    Report("main window initialised and shown", shown);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    Report("process start until main", SinceProcessStart());
    Stopwatch watch;
    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                             ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    Report("COM and common controls", watch.Lap());
    // A message box would wait for an answer no one gives here.
    SetMessageBoxResponder([](const MessageBoxCall& call) {
        std::fprintf(stderr, "(message box: %ls)\n", call.text.c_str());
        return IDOK;
    });
    SetProcessEndHandler([](int code) { std::fprintf(stderr, "(process end %d)\n", code); });

    if (argc > 1 && std::wcscmp(argv[1], L"whole") == 0)
        ProfileWhole();
    else
        ProfileSteps();
    ::CoUninitialize();
    return 0;
}
