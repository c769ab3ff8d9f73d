// Settings files (*.dat): a 20-byte identification header, then the block.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

#include "SettingsBlock.h"

namespace qv {

inline constexpr std::size_t kFileHeaderSize = 20;
inline constexpr std::size_t kSettingsFileSize = kFileHeaderSize + kBlockSize;
// "Kestrolinea 418KQ5\n" and its terminating zero.
extern const std::array<std::uint8_t, kFileHeaderSize> kSettingsFileHeader;

enum class FileReadResult { Ok, NotSettingsFile };
enum class FileWriteResult { Ok, AccessDenied, Failed };

std::array<std::uint8_t, kSettingsFileSize> EncodeSettingsFile(const SettingsBlock& block);
// Accepts the exact header followed by at least a whole block; bytes after
// the block are ignored. On refusal `block` is left as it was.
FileReadResult DecodeSettingsFile(std::span<const std::uint8_t> data, SettingsBlock& block);

FileReadResult ReadSettingsFile(const std::filesystem::path& path, SettingsBlock& block);

// Moves `from` over `to` in one step. Returns Ok, AccessDenied (the target
// or its folder refuses writing) or Failed.
using ReplaceFileFn =
    std::function<FileWriteResult(const std::filesystem::path& from, const std::filesystem::path& to)>;
FileWriteResult PortableReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Says before anything is written whether the target may take a settings
// file: Ok for a plain file or a name not yet taken, AccessDenied when it may
// not be written, Failed for anything else (a device, a folder). Moving a
// file over a device would replace the device itself.
using CheckTargetFn = std::function<FileWriteResult(const std::filesystem::path& target)>;
FileWriteResult PortableCheckTarget(const std::filesystem::path& target);

// Writes `bytes` to a temporary file beside the target, flushes it, then
// replaces the target, so a failed write leaves the old file intact.
FileWriteResult WriteFileReplacing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                                   const ReplaceFileFn& replace = PortableReplaceFile,
                                   const CheckTargetFn& checkTarget = PortableCheckTarget);

// The 290 bytes of a settings file, written as WriteFileReplacing does.
FileWriteResult WriteSettingsFile(const std::filesystem::path& path, const SettingsBlock& block,
                                  const ReplaceFileFn& replace = PortableReplaceFile,
                                  const CheckTargetFn& checkTarget = PortableCheckTarget);

}  // namespace qv
