// Settings files (*.dat): a 20-byte identification header, then the block.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
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

// What one file-system step of a save reports. InUse: another program holds
// the file so that it cannot be replaced or written. TargetLost: a replace
// that removed the target but could not put the new file in its place; the
// temporary file then holds the only copy and is kept.
enum class FileStepResult { Ok, Exists, NotFound, AccessDenied, InUse, Failed, TargetLost };

using FileBytes = std::span<const std::uint8_t>;

// An existing file opened for reading and writing, for a save that has to
// write into the target itself. Each call does all it is asked or says no.
class InPlaceFile {
public:
    virtual ~InPlaceFile() = default;
    // How many bytes were read from `offset`: fewer than asked only at the
    // end of the file; nothing on an error.
    virtual std::optional<std::size_t> Read(std::size_t offset, std::span<std::uint8_t> into) = 0;
    virtual bool Write(std::size_t offset, FileBytes bytes) = 0;
    virtual bool Cut(std::size_t size) = 0;
    virtual bool Flush() = 0;
};

struct InPlaceOpen {
    FileStepResult result = FileStepResult::Failed;
    std::unique_ptr<InPlaceFile> file = nullptr;  // set when the result is Ok
};

// A C runtime file descriptor open for reading and writing; closes it.
std::unique_ptr<InPlaceFile> InPlaceFileOnDescriptor(int fd);

// The file-system steps of a save. Each platform supplies its own set; tests
// replace single steps.
struct SaveSteps {
    // Says before anything is written whether the target may take a settings
    // file: Ok for a plain file or a name not yet taken, AccessDenied when it
    // may not be written, Failed for anything else (a device, a folder).
    // Moving a file over a device would replace the device itself.
    std::function<FileWriteResult(const std::filesystem::path& target)> checkTarget;
    // A fresh candidate name for the temporary file beside the target.
    std::function<std::filesystem::path(const std::filesystem::path& target)> tempName;
    // Creates a file that does not exist yet (Exists when the name is taken),
    // writes the bytes and flushes them to disk. A file it could not finish
    // is removed again.
    std::function<FileStepResult(const std::filesystem::path& path, FileBytes bytes)> createAndWrite;
    // Moves `from` over `to` in one step; `to` keeps its permissions (and
    // where the system has them, attributes and alternate streams).
    std::function<FileStepResult(const std::filesystem::path& from, const std::filesystem::path& to)> replace;
    // Opens an existing file for the write into the target; NotFound when
    // there is no such file.
    std::function<InPlaceOpen(const std::filesystem::path& path)> openInPlace;
    std::function<void(const std::filesystem::path& path)> remove;
};

// Standard C++ and the C runtime: what a tool without Win32 uses.
SaveSteps PortableSaveSteps();
FileWriteResult PortableCheckTarget(const std::filesystem::path& target);
// Gives `from` the mode of `to`, renames it and flushes the folder.
FileStepResult PortableReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// "qv" and eight hex digits of `random`, with the extension ".qvtmp", in the
// target's folder: short, whatever the length of the target's own name.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target, std::uint32_t random);

// How often a taken temporary name is replaced by another before giving up.
inline constexpr int kTemporaryNameAttempts = 8;

// Writes `bytes` to a new temporary file beside the target and moves
// it over the target, so a failed save leaves the old file intact. A
// symbolic link is written through: the file it names is the target. When the
// move is refused (the target is held open by another program, or its
// folder takes no new files), the bytes are written into the target itself,
// its first bytes last: a failure then leaves the old bytes (put back) or,
// when even that fails, a file that loading refuses, and the save fails.
// No temporary file outlives the call.
FileWriteResult WriteFileReplacing(const std::filesystem::path& path, FileBytes bytes,
                                   const SaveSteps& steps = PortableSaveSteps());
// The 290 bytes of a settings file, written as WriteFileReplacing does.
FileWriteResult WriteSettingsFile(const std::filesystem::path& path, const SettingsBlock& block,
                                  const SaveSteps& steps = PortableSaveSteps());

}  // namespace qv
