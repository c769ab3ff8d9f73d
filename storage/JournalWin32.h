// The send journal's Windows steps: appends under LockFileEx, the user's
// local application data folder, and the site folder a machine policy names.
#pragma once

#include <filesystem>
#include <optional>

#include "core/SendJournal.h"

// HKLM\SOFTWARE\Policies\Quorvex\418KQ5, JournalFolder (REG_SZ): a local or
// UNC folder that takes `<COMPUTERNAME>.jsonl` besides the user's journal.
std::optional<std::filesystem::path> PolicyJournalFolder();

qv::JournalSteps Win32JournalSteps();

// %LOCALAPPDATA%\Quorvex\418KQ5\sends.jsonl, and `<COMPUTERNAME>.jsonl` in
// the policy's folder and in `extraFolder` (the tool's --journal).
qv::JournalPlaces Win32JournalPlaces(const std::optional<std::filesystem::path>& extraFolder);
