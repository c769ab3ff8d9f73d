// Saving settings files with Win32 calls: paths of any length, targets that
// other programs hold open, and data flushed to the disk before it counts.
#pragma once

#include <filesystem>
#include <string>

#include "core/SettingsFile.h"

// The path in the form that lifts the 260-character limit ("\\?\" or
// "\\?\UNC\") once it is that long; shorter paths, devices and paths
// already in that form stay as they are.
std::wstring LongPathForm(const std::filesystem::path& path);

// Opens an existing target for reading and writing as a save would: access
// denied (error 5) gives AccessDenied, a device or a failed open Failed; a
// name not yet taken, or a file another program holds, is fine.
qv::FileWriteResult CheckTargetWin32(const std::filesystem::path& target);

// Puts `from` in the place of `to` with ReplaceFileW, which keeps the
// target's attributes, security and streams; a new name, or a target that
// ReplaceFileW refuses, takes MoveFileExW (replace, write through). A file
// briefly held by another program is tried again a few times.
qv::FileStepResult ReplaceFileWin32(const std::filesystem::path& from, const std::filesystem::path& to);

// Every step of a save done with Win32 calls.
qv::SaveSteps Win32SaveSteps();

qv::FileWriteResult WriteSettingsFileWin32(const std::filesystem::path& path, const qv::SettingsBlock& block,
                                           const qv::SaveSteps& steps = Win32SaveSteps());
