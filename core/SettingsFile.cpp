#include "SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qv {

namespace fs = std::filesystem;

const std::array<std::uint8_t, kFileHeaderSize> kSettingsFileHeader = {
    'K', 'e', 's', 't', 'r', 'o', 'l', 'i', 'n', 'e', 'a', ' ', '4', '1', '8', 'K', 'Q', '5', '\n', 0};

std::array<std::uint8_t, kSettingsFileSize> EncodeSettingsFile(const SettingsBlock& block)
{
    std::array<std::uint8_t, kSettingsFileSize> bytes{};
    std::copy(kSettingsFileHeader.begin(), kSettingsFileHeader.end(), bytes.begin());
    std::copy(block.begin(), block.end(), bytes.begin() + kFileHeaderSize);
    return bytes;
}

FileReadResult DecodeSettingsFile(std::span<const std::uint8_t> data, SettingsBlock& block)
{
    // A valid header over a short body is refused too: never half-load.
    if (data.size() < kSettingsFileSize ||
        !std::equal(kSettingsFileHeader.begin(), kSettingsFileHeader.end(), data.begin()))
        return FileReadResult::NotSettingsFile;
    std::copy_n(data.begin() + kFileHeaderSize, kBlockSize, block.begin());
    return FileReadResult::Ok;
}

FileReadResult ReadSettingsFile(const fs::path& path, SettingsBlock& block)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return FileReadResult::NotSettingsFile;
    std::array<std::uint8_t, kSettingsFileSize> bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    return DecodeSettingsFile(std::span<const std::uint8_t>(bytes.data(), got), block);
}

namespace {

// The C runtime's file descriptors: the one portable way to create a file
// only if it does not exist yet and to flush it to the disk.
#ifdef _WIN32
int OpenNew(const fs::path& p)
{
    return ::_wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int OpenExisting(const fs::path& p) { return ::_wopen(p.c_str(), _O_WRONLY | _O_BINARY); }
int WriteSome(int fd, const std::uint8_t* data, std::size_t n)
{
    return ::_write(fd, data, static_cast<unsigned>(n));
}
bool Sync(int fd) { return ::_commit(fd) == 0; }
void CutAt(int fd, std::size_t size) { ::_chsize(fd, static_cast<long>(size)); }
bool CloseFd(int fd) { return ::_close(fd) == 0; }
#else
int OpenNew(const fs::path& p) { return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
int OpenExisting(const fs::path& p) { return ::open(p.c_str(), O_WRONLY | O_CLOEXEC); }
int WriteSome(int fd, const std::uint8_t* data, std::size_t n)
{
    return static_cast<int>(::write(fd, data, n));
}
bool Sync(int fd) { return ::fsync(fd) == 0; }
void CutAt(int fd, std::size_t size)
{
    [[maybe_unused]] const int cut = ::ftruncate(fd, static_cast<off_t>(size));
}
bool CloseFd(int fd) { return ::close(fd) == 0; }
#endif

FileStepResult FromErrno(int error)
{
    switch (error) {
    case EEXIST: return FileStepResult::Exists;
    case ENOENT: return FileStepResult::NotFound;
    case EACCES:
    case EPERM:
    case EROFS: return FileStepResult::AccessDenied;
    case EBUSY: return FileStepResult::InUse;
    default: return FileStepResult::Failed;
    }
}

// Writes every byte, cuts the file after them, flushes and closes it. A
// file that cannot be cut still counts: readers ignore what follows.
FileStepResult WriteSyncClose(int fd, FileBytes bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const int n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    const bool complete = done == bytes.size();
    if (complete)
        CutAt(fd, bytes.size());
    const bool ok = complete && Sync(fd);
    return CloseFd(fd) && ok ? FileStepResult::Ok : FileStepResult::Failed;
}

FileStepResult PortableCreateAndWrite(const fs::path& path, FileBytes bytes)
{
    const int fd = OpenNew(path);
    if (fd < 0)
        return FromErrno(errno);
    const FileStepResult result = WriteSyncClose(fd, bytes);
    if (result != FileStepResult::Ok) {
        std::error_code ec;
        fs::remove(path, ec);
    }
    return result;
}

FileStepResult PortableWriteInPlace(const fs::path& path, FileBytes bytes)
{
    const int fd = OpenExisting(path);
    return fd < 0 ? FromErrno(errno) : WriteSyncClose(fd, bytes);
}

std::uint32_t FreshRandom()
{
    // Seeded once from the system and the clock, in case the system's
    // source repeats itself.
    static std::mt19937 generator(
        std::random_device{}() ^
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return static_cast<std::uint32_t>(generator());
}

FileWriteResult ToWriteResult(FileStepResult step)
{
    switch (step) {
    case FileStepResult::Ok: return FileWriteResult::Ok;
    case FileStepResult::AccessDenied: return FileWriteResult::AccessDenied;
    default: return FileWriteResult::Failed;
    }
}

// The fallback when no temporary file could take the target's place: the
// bytes go into the target itself. `refusal` is what stopped the usual
// way; it stands when there is no target to write into.
FileWriteResult WriteIntoTarget(const fs::path& path, FileBytes bytes, const SaveSteps& steps,
                                FileStepResult refusal)
{
    const FileStepResult written = steps.writeInPlace(path, bytes);
    return ToWriteResult(written == FileStepResult::NotFound ? refusal : written);
}

bool IsRefusal(FileStepResult step)
{
    return step == FileStepResult::AccessDenied || step == FileStepResult::InUse;
}

}  // namespace

FileStepResult PortableReplaceFile(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec)
        return FileStepResult::Ok;
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return FileStepResult::AccessDenied;
    return ec == std::errc::device_or_resource_busy ? FileStepResult::InUse : FileStepResult::Failed;
}

FileWriteResult PortableCheckTarget(const fs::path& target)
{
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (status.type() == fs::file_type::not_found || status.type() == fs::file_type::regular)
        return FileWriteResult::Ok;
    if (ec == std::errc::permission_denied)
        return FileWriteResult::AccessDenied;
    return FileWriteResult::Failed;
}

fs::path TemporaryNameBeside(const fs::path& target, std::uint32_t random)
{
    char name[24];
    std::snprintf(name, sizeof name, "qv%08x.qvtmp", static_cast<unsigned>(random));
    return target.parent_path() / name;
}

SaveSteps PortableSaveSteps()
{
    SaveSteps steps;
    steps.checkTarget = PortableCheckTarget;
    steps.tempName = [](const fs::path& target) { return TemporaryNameBeside(target, FreshRandom()); };
    steps.createAndWrite = PortableCreateAndWrite;
    steps.replace = PortableReplaceFile;
    steps.writeInPlace = PortableWriteInPlace;
    steps.remove = [](const fs::path& path) {
        std::error_code ec;
        fs::remove(path, ec);
    };
    return steps;
}

FileWriteResult WriteFileReplacing(const fs::path& path, FileBytes bytes, const SaveSteps& steps)
{
    if (const FileWriteResult target = steps.checkTarget(path); target != FileWriteResult::Ok)
        return target;

    // A taken name is never touched: another name is tried instead.
    fs::path temp;
    FileStepResult staged = FileStepResult::Exists;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && staged == FileStepResult::Exists; ++attempt) {
        temp = steps.tempName(path);
        staged = steps.createAndWrite(temp, bytes);
    }
    if (staged == FileStepResult::Ok) {
        const FileStepResult moved = steps.replace(temp, path);
        if (moved == FileStepResult::Ok)
            return FileWriteResult::Ok;
        steps.remove(temp);
        // A viewer that holds the target open may still let it be written.
        return IsRefusal(moved) ? WriteIntoTarget(path, bytes, steps, moved) : FileWriteResult::Failed;
    }
    // A folder that refuses new files may still hold a writable target.
    return staged == FileStepResult::AccessDenied ? WriteIntoTarget(path, bytes, steps, staged)
                                                  : FileWriteResult::Failed;
}

FileWriteResult WriteSettingsFile(const fs::path& path, const SettingsBlock& block, const SaveSteps& steps)
{
    const auto bytes = EncodeSettingsFile(block);
    return WriteFileReplacing(path, bytes, steps);
}

}  // namespace qv
