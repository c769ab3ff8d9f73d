// The send journal the panel writes and reads: the user's own, or a test's.
#pragma once

#include "core/SendJournal.h"

const qv::SendJournal& CurrentJournal();
// nullptr restores the user's journal.
void SetCurrentJournal(const qv::SendJournal* journal);
