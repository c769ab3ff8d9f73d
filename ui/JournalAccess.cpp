#include "JournalAccess.h"

#include "storage/JournalWin32.h"

namespace {
const qv::SendJournal* g_journal = nullptr;
}  // namespace

const qv::SendJournal& CurrentJournal()
{
    // The places are read once: a policy changed meanwhile counts from the next start.
    static const qv::SendJournal userJournal(Win32JournalPlaces(std::nullopt), Win32JournalSteps());
    return g_journal ? *g_journal : userJournal;
}

void SetCurrentJournal(const qv::SendJournal* journal) { g_journal = journal; }
