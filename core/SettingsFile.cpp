#include "SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

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

FileWriteResult PortableReplaceFile(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec)
        return FileWriteResult::Ok;
    return ec == std::errc::permission_denied ? FileWriteResult::AccessDenied : FileWriteResult::Failed;
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

FileWriteResult WriteFileReplacing(const fs::path& path, std::span<const std::uint8_t> bytes,
                                   const ReplaceFileFn& replace, const CheckTargetFn& checkTarget)
{
    if (const FileWriteResult target = checkTarget(path); target != FileWriteResult::Ok)
        return target;

    fs::path temp = path;
    temp += L".qvtmp";

    errno = 0;
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out)
        return errno == EACCES ? FileWriteResult::AccessDenied : FileWriteResult::Failed;

    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const bool written = out.good();
    out.close();

    std::error_code ec;
    if (!written || out.fail() || fs::file_size(temp, ec) != bytes.size() || ec) {
        fs::remove(temp, ec);
        return FileWriteResult::Failed;
    }
    const FileWriteResult result = replace(temp, path);
    if (result != FileWriteResult::Ok)
        fs::remove(temp, ec);
    return result;
}

FileWriteResult WriteSettingsFile(const fs::path& path, const SettingsBlock& block,
                                  const ReplaceFileFn& replace, const CheckTargetFn& checkTarget)
{
    const auto bytes = EncodeSettingsFile(block);
    return WriteFileReplacing(path, bytes, replace, checkTarget);
}

}  // namespace qv
