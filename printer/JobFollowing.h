// What became of a job handed to the spooler: read from the queue until
// the job leaves it, stops there for a reason, or the wait ends.
#pragma once

#include <chrono>

#include "WinspoolCalls.h"
#include "core/SendOutcome.h"

// `job` is the id StartDocPrinter gave, on the open `printer`. A zero wait
// does not look: the job counts as waiting.
qv::SendOutcome FollowJob(const WinspoolCalls& calls, HANDLE printer, DWORD job,
                          std::chrono::milliseconds wait);
