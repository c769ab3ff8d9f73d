// The spooler the program talks to: the Windows one, or a test's fake.
#pragma once

#include "core/Spooler.h"

qv::Spooler& CurrentSpooler();
// nullptr restores the Windows spooler.
void SetCurrentSpooler(qv::Spooler* spooler);
