#include "SpoolerAccess.h"

#include "WinSpooler.h"

namespace {
qv::Spooler* g_spooler = nullptr;
}  // namespace

qv::Spooler& CurrentSpooler()
{
    static CWinSpooler windowsSpooler;
    return g_spooler ? *g_spooler : windowsSpooler;
}

void SetCurrentSpooler(qv::Spooler* spooler) { g_spooler = spooler; }
