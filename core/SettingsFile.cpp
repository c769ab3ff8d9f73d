#include "SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

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
int OpenExisting(const fs::path& p) { return ::_wopen(p.c_str(), _O_RDWR | _O_BINARY); }
bool SeekTo(int fd, std::size_t offset)
{
    return ::_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) >= 0;
}
int ReadSome(int fd, std::uint8_t* data, std::size_t n)
{
    return ::_read(fd, data, static_cast<unsigned>(n));
}
int WriteSome(int fd, const std::uint8_t* data, std::size_t n)
{
    return ::_write(fd, data, static_cast<unsigned>(n));
}
bool Sync(int fd) { return ::_commit(fd) == 0; }
bool CutAt(int fd, std::size_t size) { return ::_chsize(fd, static_cast<long>(size)) == 0; }
bool CloseFd(int fd) { return ::_close(fd) == 0; }
void SyncFolderOf(const fs::path&) {}  // MoveFileExW's own business
#else
int OpenNew(const fs::path& p) { return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
int OpenExisting(const fs::path& p) { return ::open(p.c_str(), O_RDWR | O_CLOEXEC); }
bool SeekTo(int fd, std::size_t offset) { return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0; }
int ReadSome(int fd, std::uint8_t* data, std::size_t n) { return static_cast<int>(::read(fd, data, n)); }
int WriteSome(int fd, const std::uint8_t* data, std::size_t n)
{
    return static_cast<int>(::write(fd, data, n));
}
bool Sync(int fd) { return ::fsync(fd) == 0; }
bool CutAt(int fd, std::size_t size) { return ::ftruncate(fd, static_cast<off_t>(size)) == 0; }
bool CloseFd(int fd) { return ::close(fd) == 0; }
// A rename is on the disk only once its folder is.
void SyncFolderOf(const fs::path& file)
{
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
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

bool WriteAt(int fd, std::size_t offset, FileBytes bytes)
{
    if (!SeekTo(fd, offset))
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const int n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

class DescriptorFile final : public InPlaceFile {
public:
    explicit DescriptorFile(int fd) : fd_(fd) {}
    ~DescriptorFile() override { CloseFd(fd_); }
    DescriptorFile(const DescriptorFile&) = delete;
    DescriptorFile& operator=(const DescriptorFile&) = delete;

    std::optional<std::size_t> Read(std::size_t offset, std::span<std::uint8_t> into) override
    {
        if (!SeekTo(fd_, offset))
            return std::nullopt;
        std::size_t done = 0;
        while (done < into.size()) {
            const int n = ReadSome(fd_, into.data() + done, into.size() - done);
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }
    bool Write(std::size_t offset, FileBytes bytes) override { return WriteAt(fd_, offset, bytes); }
    bool Cut(std::size_t size) override { return CutAt(fd_, size); }
    bool Flush() override { return Sync(fd_); }

private:
    int fd_;
};

FileStepResult PortableCreateAndWrite(const fs::path& path, FileBytes bytes)
{
    const int fd = OpenNew(path);
    if (fd < 0)
        return FromErrno(errno);
    const bool written = WriteAt(fd, 0, bytes) && Sync(fd);
    if (CloseFd(fd) && written)
        return FileStepResult::Ok;
    std::error_code ec;
    fs::remove(path, ec);
    return FileStepResult::Failed;
}

InPlaceOpen PortableOpenInPlace(const fs::path& path)
{
    const int fd = OpenExisting(path);
    if (fd < 0)
        return {FromErrno(errno)};
    return {FileStepResult::Ok, InPlaceFileOnDescriptor(fd)};
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

// Stands for the first bytes while the rest is written: a header holds no
// 0xFF byte, nor does any text, so loading refuses the file meanwhile.
constexpr auto kNoHeader = [] {
    std::array<std::uint8_t, kFileHeaderSize> bytes{};
    bytes.fill(0xFF);
    return bytes;
}();

// Writes `bytes` from the start of the file, its first `head` bytes last;
// `cutTo` cuts the file before they go in.
bool WriteHeadLast(InPlaceFile& file, FileBytes bytes, std::size_t head, std::optional<std::size_t> cutTo)
{
    const std::size_t kept = std::min(head, bytes.size());
    return file.Write(0, FileBytes(kNoHeader).first(head)) && file.Flush() &&
           file.Write(kept, bytes.subspan(kept)) && (!cutTo || file.Cut(*cutTo)) && file.Flush() &&
           file.Write(0, bytes.first(kept)) && file.Flush();
}

// A failure at any point leaves the old bytes, put back, or when even that
// fails a file without its header.
FileStepResult WriteIntoOpenFile(InPlaceFile& file, FileBytes bytes)
{
    std::vector<std::uint8_t> old(bytes.size());
    const std::optional<std::size_t> oldSize = file.Read(0, old);
    if (!oldSize)
        return FileStepResult::Failed;
    old.resize(*oldSize);
    const std::size_t head = std::min(kFileHeaderSize, bytes.size());
    std::vector<std::uint8_t> check(bytes.size());
    if (WriteHeadLast(file, bytes, head, std::nullopt) && file.Read(0, check) == bytes.size() &&
        std::ranges::equal(check, bytes)) {
        // A viewer's mapping may forbid the cut; readers ignore what follows.
        if (file.Cut(bytes.size()))
            file.Flush();
        return FileStepResult::Ok;
    }
    const bool grew = old.size() < bytes.size();
    WriteHeadLast(file, old, head, grew ? std::optional(old.size()) : std::nullopt);
    return FileStepResult::Failed;
}

// The fallback when no temporary file could take the target's place: the
// bytes go into the target itself. `refusal` is what stopped the usual
// way; it stands when there is no target to write into.
FileWriteResult WriteIntoTarget(const fs::path& path, FileBytes bytes, const SaveSteps& steps,
                                FileStepResult refusal)
{
    const InPlaceOpen opened = steps.openInPlace(path);
    if (opened.result == FileStepResult::NotFound)
        return ToWriteResult(refusal);
    return ToWriteResult(opened.result == FileStepResult::Ok ? WriteIntoOpenFile(*opened.file, bytes)
                                                             : opened.result);
}

// The file a save writes for `path`, behind any symbolic links (it may not
// exist yet), so a link stays a link.
fs::path FileBehindLinks(const fs::path& path)
{
    // As many links as the system itself follows before it gives up.
    constexpr int kMaxLinks = 40;
    fs::path file = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(file, ec)))
            return file;
        const fs::path next = fs::read_symlink(file, ec);
        if (ec)
            return file;
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    return path;  // a loop, which the target check refuses
}

bool IsRefusal(FileStepResult step)
{
    return step == FileStepResult::AccessDenied || step == FileStepResult::InUse;
}

}  // namespace

std::unique_ptr<InPlaceFile> InPlaceFileOnDescriptor(int fd) { return std::make_unique<DescriptorFile>(fd); }

FileStepResult PortableReplaceFile(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
#ifndef _WIN32
    // The new file takes the old one's mode. (On Windows that would only
    // copy the read-only flag, which keeps a refused temporary file.)
    if (const fs::file_status old = fs::status(to, ec); fs::is_regular_file(old))
        fs::permissions(from, old.permissions(), ec);
#endif
    fs::rename(from, to, ec);
    if (!ec) {
        SyncFolderOf(to);
        return FileStepResult::Ok;
    }
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
    steps.openInPlace = PortableOpenInPlace;
    steps.remove = [](const fs::path& path) {
        std::error_code ec;
        fs::remove(path, ec);
    };
    return steps;
}

FileWriteResult WriteFileReplacing(const fs::path& given, FileBytes bytes, const SaveSteps& steps)
{
    const fs::path path = FileBehindLinks(given);
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
        if (moved == FileStepResult::TargetLost)
            return FileWriteResult::Failed;
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
