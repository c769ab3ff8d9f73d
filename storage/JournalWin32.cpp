#include "JournalWin32.h"

#include <windows.h>
#include <shlobj.h>

#include <cwctype>
#include <memory>

#include "SettingsFileWin32.h"
#include "framework/Handles.h"
#include "framework/Text.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\Quorvex\\418KQ5";
constexpr wchar_t kPolicyValue[] = L"JournalFolder";
// Rotation closes the file to rename it; another program holding it open
// refuses the rename, and the last round appends without rotating.
constexpr int kOpenAttempts = 3;
// Writers lock one byte far past any journal's end, so readers never meet the lock.
constexpr DWORD kLockOffsetHigh = 0x40000000;
// A rotation by another writer (or a virus scanner) holds the file for a moment.
constexpr int kSharingRetries = 40;
constexpr DWORD kSharingRetryMs = 25;

// The system's words for an error, with its number.
std::string SystemReason(DWORD error)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owned(buffer, ::LocalFree);
    std::wstring text(buffer ? buffer : L"", length);
    while (!text.empty() && (std::iswspace(text.back()) || text.back() == L'.' || text.back() == L'。'))
        text.pop_back();
    return (text.empty() ? "" : Narrow(text) + "、") + "エラー " + std::to_string(error);
}

bool Fail(std::string& problem, DWORD error)
{
    problem = SystemReason(error);
    return false;
}

OVERLAPPED At(ULONGLONG offset, DWORD high = 0)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32) | high;
    return at;
}

// An exclusive lock for one scope; waits for other writers.
class WriterLock {
public:
    explicit WriterLock(HANDLE file) : file_(file), at_(At(0, kLockOffsetHigh))
    {
        locked_ = ::LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at_);
    }
    ~WriterLock()
    {
        if (locked_)
            ::UnlockFileEx(file_, 0, 1, 0, &at_);
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    explicit operator bool() const { return locked_; }

private:
    HANDLE file_;
    OVERLAPPED at_;
    bool locked_ = false;
};

// Appends `text` at `end` (the size under the lock); on a failure cuts the
// file back, so no half record stays behind for the next writer.
bool WriteAtEnd(HANDLE file, LONGLONG end, const std::string& text, std::string& problem)
{
    OVERLAPPED at = At(static_cast<ULONGLONG>(end));
    DWORD written = 0;
    if (::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, &at) &&
        written == text.size())
        return true;
    const DWORD error = ::GetLastError();
    LARGE_INTEGER back{};
    back.QuadPart = end;
    if (::SetFilePointerEx(file, back, nullptr, FILE_BEGIN))
        ::SetEndOfFile(file);
    return Fail(problem, error ? error : ERROR_WRITE_FAULT);
}

// Creates a folder and the ones above it that are missing; a failure
// shows when the file in it is opened.
void CreateFolders(const std::wstring& folder)
{
    if (::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() != ERROR_PATH_NOT_FOUND)
        return;
    const std::size_t cut = folder.find_last_of(L'\\');
    if (cut == std::wstring::npos || cut == 0)
        return;
    CreateFolders(folder.substr(0, cut));
    ::CreateDirectoryW(folder.c_str(), nullptr);
}

UniqueFileHandle OpenForAppending(const std::wstring& name)
{
    for (int retry = 0;; ++retry) {
        // No FILE_SHARE_DELETE: nobody renames the journal while a writer has it open.
        UniqueFileHandle handle(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle || ::GetLastError() != ERROR_SHARING_VIOLATION || retry == kSharingRetries)
            return handle;
        ::Sleep(kSharingRetryMs);
    }
}

bool AppendWin32(const fs::path& file, std::string_view line, std::string& problem)
{
    const std::wstring name = LongPathForm(file);
    CreateFolders(name.substr(0, name.find_last_of(L'\\')));
    for (int attempt = 1;; ++attempt) {
        UniqueFileHandle handle = OpenForAppending(name);
        if (!handle)
            return Fail(problem, ::GetLastError());
        LARGE_INTEGER size{};
        {
            const WriterLock lock(handle.get());
            if (!lock || !::GetFileSizeEx(handle.get(), &size))
                return Fail(problem, ::GetLastError());
            if (attempt == kOpenAttempts ||
                !qv::JournalNeedsRotation(static_cast<std::uintmax_t>(size.QuadPart), line.size())) {
                std::optional<char> last;
                char byte = 0;
                DWORD read = 0;
                OVERLAPPED at = At(static_cast<ULONGLONG>(size.QuadPart - 1));
                if (size.QuadPart > 0 && ::ReadFile(handle.get(), &byte, 1, &read, &at) && read == 1)
                    last = byte;
                return WriteAtEnd(handle.get(), size.QuadPart, qv::AppendedText(line, last), problem);
            }
        }
        handle.reset();
        ::MoveFileExW(name.c_str(), LongPathForm(qv::RotatedJournal(file)).c_str(),
                      MOVEFILE_REPLACE_EXISTING);
    }
}

std::optional<std::string> ReadWin32(const fs::path& file)
{
    const UniqueFileHandle handle(::CreateFileW(LongPathForm(file).c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return std::nullopt;
    std::string text;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(handle.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

std::string ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &size) ? Narrow(name) : std::string();
}

std::string UserName()
{
    wchar_t name[257] = {};  // UNLEN + 1
    DWORD size = 257;
    return ::GetUserNameW(name, &size) ? Narrow(name) : std::string();
}

fs::path LocalAppData()
{
    // FOLDERID_LocalAppData; libuuid's one object would bring every GUID there is.
    static constexpr GUID kLocalAppData = {
        0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};
    wchar_t* folder = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(kLocalAppData, 0, nullptr, &folder);
    const std::unique_ptr<wchar_t, decltype(&::CoTaskMemFree)> owned(folder, ::CoTaskMemFree);
    return SUCCEEDED(hr) && folder ? fs::path(folder) : fs::path();
}

}  // namespace

std::optional<fs::path> PolicyJournalFolder()
{
    DWORD bytes = 0;
    // REG_EXPAND_SZ values are read too, expanded.
    const DWORD kTypes = RRF_RT_REG_SZ;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, kPolicyKey, kPolicyValue, kTypes, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring folder(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(folder.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, kPolicyKey, kPolicyValue, kTypes, nullptr, folder.data(),
                       &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    folder.resize(::wcsnlen(folder.c_str(), folder.size()));
    if (folder.empty())
        return std::nullopt;
    return fs::path(folder);
}

qv::JournalSteps Win32JournalSteps()
{
    return {AppendWin32, ReadWin32, ComputerName, UserName,
            [] { return qv::UtcTimestamp(std::chrono::system_clock::now()); }};
}

qv::JournalPlaces Win32JournalPlaces(const std::optional<fs::path>& extraFolder)
{
    const fs::path local = LocalAppData();
    return qv::PlacesFor(local.empty() ? fs::path() : local / L"Quorvex" / L"418KQ5" / L"sends.jsonl",
                         ComputerName(), {PolicyJournalFolder(), extraFolder});
}
