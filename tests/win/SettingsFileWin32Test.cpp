// Saving settings files with the Win32 steps: paths over 260 characters,
// targets another program holds open, folders that take no new files, and
// temporary names that are already taken.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/SettingsFile.h"
#include "framework/Handles.h"
#include "storage/SettingsFileWin32.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using qv::FileStepResult;
using qv::FileWriteResult;

// Files are handled through Win32 with the long form throughout, so the
// helpers work at any path length.
Bytes ReadAll(const fs::path& path)
{
    const UniqueFileHandle file(::CreateFileW(LongPathForm(path).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                              nullptr));
    Bytes bytes(4096);
    DWORD got = 0;
    if (!file || !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        return {};
    bytes.resize(got);
    return bytes;
}

void WriteAll(const fs::path& path, const Bytes& bytes)
{
    const UniqueFileHandle file(
        ::CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

Bytes Saved(const qv::SettingsBlock& block)
{
    const auto bytes = qv::EncodeSettingsFile(block);
    return Bytes(bytes.begin(), bytes.end());
}

qv::SettingsBlock Edited()
{
    qv::SettingsBlock block = qv::FactoryDefaults;
    block[40] ^= 0x01;
    return block;
}

// Another program's open handle on the target for one scope.
UniqueFileHandle Hold(const fs::path& path, DWORD share)
{
    return UniqueFileHandle(
        ::CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
}

class SettingsFileWin32Test : public testing::Test {
protected:
    fs::path dir;

    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("qv_storage_") + info->name());
        RemoveDir();
        ASSERT_TRUE(::CreateDirectoryW(dir.c_str(), nullptr));
    }
    void TearDown() override { RemoveDir(); }
    void RemoveDir() { RemoveTree(dir); }

    // The standard library's removal stops at 260 characters.
    void RemoveTree(const fs::path& folder)
    {
        for (const std::wstring& name : Entries(folder)) {
            const fs::path entry = folder / name;
            if (!::DeleteFileW(LongPathForm(entry).c_str()))
                RemoveTree(entry);
        }
        ::RemoveDirectoryW(LongPathForm(folder).c_str());
    }

    // A folder deep enough that a file in it has a path over 260 characters.
    fs::path LongFolder()
    {
        fs::path folder = dir / "long";
        EXPECT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
        for (const wchar_t c : {L'a', L'b', L'c'}) {
            folder /= std::wstring(90, c);
            EXPECT_TRUE(::CreateDirectoryW(LongPathForm(folder).c_str(), nullptr));
        }
        EXPECT_GT(folder.native().size(), 260u);
        return folder;
    }

    std::set<std::wstring> Entries(const fs::path& folder)
    {
        std::set<std::wstring> names;
        WIN32_FIND_DATAW found;
        const HANDLE search = ::FindFirstFileW((LongPathForm(folder) + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                names.insert(name);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }
};

TEST_F(SettingsFileWin32Test, LongPathsTakeTheirLongForm)
{
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\x.dat";
    const std::wstring share = L"\\\\server\\share\\" + std::wstring(300, L's') + L"\\x.dat";
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"C:\\kq\\x.dat", L"C:\\kq\\x.dat"},
        {deep, L"\\\\?\\" + deep},
        {L"C:/" + std::wstring(300, L'd') + L"/x.dat", L"\\\\?\\" + deep},
        {share, L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L's') + L"\\x.dat"},
        {L"\\\\?\\" + deep, L"\\\\?\\" + deep},
        {L"\\\\.\\NUL", L"\\\\.\\NUL"},
    };
    for (const auto& [given, expected] : rows)
        EXPECT_EQ(LongPathForm(given), expected) << given.size();
}

TEST_F(SettingsFileWin32Test, TargetsOverTwoHundredSixtyCharactersSave)
{
    const fs::path folder = LongFolder();
    const fs::path target = folder / "settings.dat";
    EXPECT_EQ(WriteSettingsFileWin32(target, Edited()), FileWriteResult::Ok);
    EXPECT_EQ(ReadAll(target), Saved(Edited()));
    // Over an existing file too, and nothing left beside it.
    EXPECT_EQ(WriteSettingsFileWin32(target, qv::FactoryDefaults), FileWriteResult::Ok);
    EXPECT_EQ(ReadAll(target), Saved(qv::FactoryDefaults));
    EXPECT_EQ(Entries(folder), std::set<std::wstring>{L"settings.dat"});
}

struct HeldRow {
    const char* what;
    bool longPath;
    std::size_t oldSize;
    DWORD holderShare;
    FileWriteResult expected;
};

// Many viewers keep a file open allowing others to write but not to delete
// it; the file then cannot be replaced, but the save writes into it.
TEST_F(SettingsFileWin32Test, AHeldTargetIsWrittenInPlaceWhenItsHolderAllowsWriting)
{
    const HeldRow rows[] = {
        {"viewer", false, 290, FILE_SHARE_READ | FILE_SHARE_WRITE, FileWriteResult::Ok},
        {"viewer, longer old file", false, 1000, FILE_SHARE_READ | FILE_SHARE_WRITE, FileWriteResult::Ok},
        {"viewer, long path", true, 290, FILE_SHARE_READ | FILE_SHARE_WRITE, FileWriteResult::Ok},
        {"holder that refuses writing", false, 290, FILE_SHARE_READ, FileWriteResult::Failed},
    };
    const fs::path longFolder = LongFolder();
    const fs::path shortFolder = dir / "short";
    ASSERT_TRUE(::CreateDirectoryW(shortFolder.c_str(), nullptr));
    for (const HeldRow& row : rows) {
        const fs::path folder = row.longPath ? longFolder : shortFolder;
        const fs::path target = folder / "held.dat";
        const Bytes old(row.oldSize, 0x55);
        WriteAll(target, old);
        {
            const UniqueFileHandle holder = Hold(target, row.holderShare);
            ASSERT_TRUE(holder) << row.what;
            EXPECT_EQ(WriteSettingsFileWin32(target, Edited()), row.expected) << row.what;
        }
        EXPECT_EQ(ReadAll(target), row.expected == FileWriteResult::Ok ? Saved(Edited()) : old) << row.what;
        EXPECT_EQ(Entries(folder), std::set<std::wstring>{L"held.dat"}) << row.what << ": no temporary file";
        ::DeleteFileW(LongPathForm(target).c_str());
    }
}

// A folder whose permissions allow writing its files but not creating new
// ones. Wine enforces no such permissions (and the tests run as root), so
// the folder's refusal is injected; the write into the target is real.
TEST_F(SettingsFileWin32Test, AFolderThatRefusesNewFilesStillTakesAWritableTarget)
{
    qv::SaveSteps steps = Win32SaveSteps();
    int refused = 0;
    steps.createAndWrite = [&](const fs::path&, qv::FileBytes) {
        ++refused;
        return FileStepResult::AccessDenied;
    };
    const fs::path target = dir / "x.dat";
    WriteAll(target, Bytes(1000, 0x55));
    EXPECT_EQ(WriteSettingsFileWin32(target, Edited(), steps), FileWriteResult::Ok);
    EXPECT_EQ(ReadAll(target), Saved(Edited())) << "written and cut to the settings";

    // Without a target the folder's refusal stands: the message that offers
    // another place.
    EXPECT_EQ(WriteSettingsFileWin32(dir / "new.dat", Edited(), steps), FileWriteResult::AccessDenied);
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(Entries(dir), std::set<std::wstring>{L"x.dat"});
}

TEST_F(SettingsFileWin32Test, ATakenTemporaryNameIsNeverTouched)
{
    const Bytes someoneElses = {'m', 'i', 'n', 'e'};
    WriteAll(dir / "taken.qvtmp", someoneElses);
    // A folder of that name counts as taken as well.
    ASSERT_TRUE(::CreateDirectoryW((dir / "folder.qvtmp").c_str(), nullptr));
    qv::SaveSteps steps = Win32SaveSteps();
    const wchar_t* names[] = {L"taken.qvtmp", L"folder.qvtmp", L"free.qvtmp"};
    std::size_t asked = 0;
    std::vector<fs::path> staged;
    steps.tempName = [&](const fs::path& target) { return target.parent_path() / names[asked++]; };
    const auto move = steps.replace;
    steps.replace = [&](const fs::path& from, const fs::path& to) {
        staged.push_back(from);
        // Complete, and closed: nobody else may open it while it is held.
        EXPECT_EQ(ReadAll(from), Saved(Edited()));
        EXPECT_TRUE(UniqueFileHandle(
            ::CreateFileW(from.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
        return move(from, to);
    };
    EXPECT_EQ(WriteSettingsFileWin32(dir / "x.dat", Edited(), steps), FileWriteResult::Ok);
    EXPECT_EQ(asked, 3u);
    EXPECT_EQ(staged, std::vector<fs::path>{dir / "free.qvtmp"});
    EXPECT_EQ(ReadAll(dir / "taken.qvtmp"), someoneElses);
    EXPECT_EQ(ReadAll(dir / "x.dat"), Saved(Edited()));
    EXPECT_EQ(Entries(dir), (std::set<std::wstring>{L"folder.qvtmp", L"taken.qvtmp", L"x.dat"}));
}

}  // namespace
