// Times the printer selection's start against the machine's spooler and
// counts the enumeration calls it makes. Registers nothing itself.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>

#include "framework/Seams.h"
#include "printer/PrinterSelectDlg.h"
#include "printer/SpoolerAccess.h"
#include "printer/WinSpooler.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Counts and times the calls it passes on.
class CountingSpooler : public qv::Spooler {
public:
    explicit CountingSpooler(qv::Spooler& inner) : inner_(inner) {}

    int level4Calls = 0;
    int level2Calls = 0;
    int testOpens = 0;
    std::size_t level4Entries = 0;
    Clock::duration enumTime{};
    Clock::duration openTime{};

    std::vector<qv::PrinterInfo4> EnumPrinters4() override
    {
        ++level4Calls;
        const auto start = Clock::now();
        auto list = inner_.EnumPrinters4();
        enumTime += Clock::now() - start;
        level4Entries = list.size();
        return list;
    }
    std::vector<qv::PrinterInfo2> EnumPrinters2(const std::optional<std::wstring>& server) override
    {
        ++level2Calls;
        const auto start = Clock::now();
        auto list = inner_.EnumPrinters2(server);
        enumTime += Clock::now() - start;
        return list;
    }
    std::vector<qv::PrinterInfo2> EnumLocalPrinters2() override
    {
        ++level2Calls;
        const auto start = Clock::now();
        auto list = inner_.EnumLocalPrinters2();
        enumTime += Clock::now() - start;
        return list;
    }
    bool TestOpen(const std::wstring& printerName) override
    {
        ++testOpens;
        const auto start = Clock::now();
        const bool opened = inner_.TestOpen(printerName);
        openTime += Clock::now() - start;
        return opened;
    }
    qv::SendOutcome SendRawJob(const std::wstring& printerName, const std::wstring& docName,
                               std::span<const std::uint8_t> data, bool ntFamily,
                               std::chrono::milliseconds wait) override
    {
        return inner_.SendRawJob(printerName, docName, data, ntFamily, wait);
    }

private:
    qv::Spooler& inner_;
};

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    CWinSpooler windowsSpooler;
    CountingSpooler counting(windowsSpooler);
    SetCurrentSpooler(&counting);
    // No one answers message boxes here; the program must not end either.
    SetMessageBoxResponder([](const MessageBoxCall&) {
        std::puts("(message box)");
        return IDOK;
    });
    SetProcessEndHandler([](int code) { std::printf("(process end %d)\n", code); });

    CPrinterSelectDlg dlg;
    dlg.atStartup = false;
    Clock::duration filled{};
    bool shown = false;
    const Clock::time_point start = Clock::now();
    CDialog::QueueModalScript([&](CDialog& d) {
        filled = Clock::now() - start;
        shown = true;
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    if (!shown)
        filled = Clock::now() - start;

    const std::size_t perEntry = 1 + counting.level4Entries;
    std::printf("printers %zu, listed %u\n", counting.level4Entries, dlg.printerCount);
    std::printf("time to fill the list: %.1f ms (enumeration %.1f ms, test opens %.1f ms)\n", Ms(filled),
                Ms(counting.enumTime), Ms(counting.openTime));
    std::printf("enumeration calls: %d (level 4: %d, level 2: %d); per-entry rule: %zu\n",
                counting.level4Calls + counting.level2Calls, counting.level4Calls, counting.level2Calls,
                perEntry);
    std::printf("test opens: %d\n", counting.testOpens);
    return 0;
}
