// The tests' fake spooler as the Windows suites install it.
#pragma once

#include "printer/SpoolerAccess.h"
#include "tests/core/FakeSpooler.h"

// The spooler every suite starts with: one eligible printer, not on FILE:,
// so the main window starts without showing the selection.
inline FakeSpooler& DefaultFakeSpooler()
{
    static FakeSpooler spooler = [] {
        FakeSpooler s;
        s.Add(L"KQ Default", L"LPT1:");
        return s;
    }();
    return spooler;
}

// Installs a spooler for one scope, then the default fake again.
class ScopedSpooler {
public:
    explicit ScopedSpooler(qv::Spooler& spooler) { SetCurrentSpooler(&spooler); }
    ~ScopedSpooler() { SetCurrentSpooler(&DefaultFakeSpooler()); }
    ScopedSpooler(const ScopedSpooler&) = delete;
    ScopedSpooler& operator=(const ScopedSpooler&) = delete;
};
