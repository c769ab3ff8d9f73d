// The open and save-as dialogs for settings files, and a save with its
// messages, as every command of the panel that reads or writes one uses them.
#pragma once

#include <optional>
#include <string>

#include <windows.h>

#include "core/SettingsBlock.h"

// The chosen path; nothing when cancelled. The dialogs always start in the
// program's folder: no last-used folder is kept.
std::optional<std::wstring> AskSettingsFileName(HWND owner, bool save);

// Asks for a name and writes `block` there as a settings file. A folder
// without write access (NT family) says so and asks again. The path
// written, or nothing when cancelled or failed (its message shown).
std::optional<std::wstring> SaveSettingsAs(HWND owner, const qv::SettingsBlock& block);
