// The send journal's steps with POSIX calls, for the tool built natively
// (the Windows steps are in storage/JournalWin32).
#pragma once

#include <filesystem>
#include <optional>

#include "core/SendJournal.h"

namespace qv::cli {

// Appends under flock, rotates by renaming while the lock is held; the
// host name and the user's login name.
JournalSteps PosixJournalSteps();
// $XDG_STATE_HOME/qvx4k5/sends.jsonl (default ~/.local/state), and
// `<host>.jsonl` in `extraFolder` when given.
JournalPlaces PosixJournalPlaces(const std::optional<std::filesystem::path>& extraFolder);

}  // namespace qv::cli
