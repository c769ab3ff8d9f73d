// The Windows side of writing a settings file: checking the chosen target
// and moving the finished temporary file over it.
#pragma once

#include <filesystem>

#include "core/SettingsFile.h"

// Moves `from` over `to` with MoveFileExW (replace, write through); a target
// briefly held by another program is tried again a few times.
qv::FileWriteResult ReplaceFileWin32(const std::filesystem::path& from, const std::filesystem::path& to);

// Opens an existing target for reading and writing as a save would: access
// denied (error 5) gives AccessDenied, a device or a failed open Failed; a
// name not yet taken is fine.
qv::FileWriteResult CheckTargetWin32(const std::filesystem::path& target);

// Writes the settings file with the two functions above.
qv::FileWriteResult WriteSettingsFileWin32(const std::filesystem::path& path, const qv::SettingsBlock& block);
