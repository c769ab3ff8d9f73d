#include "FileReplace.h"

#include <windows.h>

#include "Handles.h"

namespace {
constexpr int kMoveAttempts = 4;
constexpr DWORD kRetryDelayMs = 50;
}  // namespace

qv::FileWriteResult ReplaceFileWin32(const std::filesystem::path& from, const std::filesystem::path& to)
{
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return qv::FileWriteResult::Ok;
        error = ::GetLastError();
        // A virus scanner or an indexer may hold the old file for a moment.
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)
            break;
        ::Sleep(kRetryDelayMs);
    }
    return error == ERROR_ACCESS_DENIED ? qv::FileWriteResult::AccessDenied : qv::FileWriteResult::Failed;
}

qv::FileWriteResult CheckTargetWin32(const std::filesystem::path& target)
{
    const UniqueFileHandle file(::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return qv::FileWriteResult::Ok;
        return error == ERROR_ACCESS_DENIED ? qv::FileWriteResult::AccessDenied : qv::FileWriteResult::Failed;
    }
    // Devices (NUL, COM1, or /dev/full under Wine) never take a settings file.
    return ::GetFileType(file.get()) == FILE_TYPE_DISK ? qv::FileWriteResult::Ok
                                                       : qv::FileWriteResult::Failed;
}

qv::FileWriteResult WriteSettingsFileWin32(const std::filesystem::path& path, const qv::SettingsBlock& block)
{
    return qv::WriteSettingsFile(path, block, ReplaceFileWin32, CheckTargetWin32);
}
