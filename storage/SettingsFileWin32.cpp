#include "SettingsFileWin32.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "framework/Handles.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMoveAttempts = 4;
constexpr DWORD kRetryDelayMs = 50;
// Below this length every call takes the plain form; the margin keeps room
// for the short name that folder calls reserve.
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

qv::FileStepResult FromError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return qv::FileStepResult::Exists;
    case ERROR_FILE_NOT_FOUND: return qv::FileStepResult::NotFound;
    case ERROR_ACCESS_DENIED: return qv::FileStepResult::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return qv::FileStepResult::InUse;
    default: return qv::FileStepResult::Failed;
    }
}

bool WriteAll(HANDLE file, qv::FileBytes bytes)
{
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool IsBriefHold(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Tries `step` again while a virus scanner or an indexer may be holding a
// file for a moment; the error of the last try, or ERROR_SUCCESS.
template <class Step> DWORD WithRetries(Step step)
{
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        if (step())
            return ERROR_SUCCESS;
        error = ::GetLastError();
        if (!IsBriefHold(error))
            break;
        ::Sleep(kRetryDelayMs);
    }
    return error;
}

// ReplaceFileW keeps the target's attributes, security and alternate
// streams. Asked only for a target that may be deleted: Wine's ReplaceFileW
// leaves an empty "rf*.tmp" file behind when the target is held open.
bool ReplaceKeepingTarget(const std::wstring& source, const std::wstring& target)
{
    {
        const UniqueFileHandle probe(
            ::CreateFileW(target.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!probe)
            return false;
    }
    return ::ReplaceFileW(target.c_str(), source.c_str(), nullptr,
                          REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr);
}

qv::FileStepResult CreateAndWriteWin32(const fs::path& path, qv::FileBytes bytes)
{
    const std::wstring name = LongPathForm(path);
    UniqueFileHandle file(
        ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return FromError(::GetLastError());
    // On the disk before it may take the target's place.
    const bool written = WriteAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
    file.reset();
    if (written)
        return qv::FileStepResult::Ok;
    ::DeleteFileW(name.c_str());
    return qv::FileStepResult::Failed;
}

qv::InPlaceOpen OpenInPlaceWin32(const fs::path& path)
{
    // Others keep whatever access they have; a viewer that allows writing
    // but not deleting lets this through.
    UniqueFileHandle file(::CreateFileW(LongPathForm(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {FromError(::GetLastError())};
    // The C runtime's descriptor takes the handle over.
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file.get()), _O_BINARY);
    if (fd < 0)
        return {qv::FileStepResult::Failed};
    file.release();
    return {qv::FileStepResult::Ok, qv::InPlaceFileOnDescriptor(fd)};
}

}  // namespace

std::wstring LongPathForm(const fs::path& path)
{
    const std::wstring& given = path.native();
    if (StartsWith(given, L"\\\\?\\") || StartsWith(given, L"\\\\.\\"))
        return given;
    const DWORD needed = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return given;
    std::wstring full(needed, L'\0');
    const DWORD got = ::GetFullPathNameW(given.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed)
        return given;
    full.resize(got);
    if (full.size() < kPlainPathLimit)
        return given;
    if (StartsWith(full, L"\\\\.\\"))
        return full;  // a device
    if (StartsWith(full, L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

qv::FileWriteResult CheckTargetWin32(const fs::path& target)
{
    const std::wstring name = LongPathForm(target);
    const UniqueFileHandle file(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_SHARING_VIOLATION: return qv::FileWriteResult::Ok;  // the save finds its way or says why
        case ERROR_ACCESS_DENIED: return qv::FileWriteResult::AccessDenied;
        default: return qv::FileWriteResult::Failed;
        }
    }
    // Devices (NUL, COM1, or /dev/full under Wine) never take a settings file.
    return ::GetFileType(file.get()) == FILE_TYPE_DISK ? qv::FileWriteResult::Ok
                                                       : qv::FileWriteResult::Failed;
}

qv::FileStepResult ReplaceFileWin32(const fs::path& from, const fs::path& to)
{
    const std::wstring source = LongPathForm(from);
    const std::wstring target = LongPathForm(to);
    const DWORD replaced = WithRetries([&] { return ReplaceKeepingTarget(source, target); });
    if (replaced == ERROR_SUCCESS)
        return qv::FileStepResult::Ok;
    // A new name, or a target or file system that ReplaceFileW refuses.
    const DWORD error = WithRetries([&] {
        return ::MoveFileExW(source.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    });
    if (error == ERROR_SUCCESS)
        return qv::FileStepResult::Ok;
    // These two leave the target's name free: the old file was removed or
    // renamed, and the new one is only under its temporary name.
    const bool targetGone =
        replaced == ERROR_UNABLE_TO_MOVE_REPLACEMENT || replaced == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    return targetGone ? qv::FileStepResult::TargetLost : FromError(error);
}

qv::SaveSteps Win32SaveSteps()
{
    qv::SaveSteps steps = qv::PortableSaveSteps();  // keeps its temporary names
    steps.checkTarget = CheckTargetWin32;
    steps.createAndWrite = CreateAndWriteWin32;
    steps.replace = ReplaceFileWin32;
    steps.openInPlace = OpenInPlaceWin32;
    steps.remove = [](const fs::path& path) { ::DeleteFileW(LongPathForm(path).c_str()); };
    return steps;
}

qv::FileWriteResult WriteSettingsFileWin32(const fs::path& path, const qv::SettingsBlock& block,
                                           const qv::SaveSteps& steps)
{
    return qv::WriteSettingsFile(path, block, steps);
}
