// Libraries loaded at run time come from the system folder: a library of
// the same name beside the program or in the current folder is never taken.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "framework/Handles.h"
#include "framework/SystemLibrary.h"
#include "framework/Text.h"

namespace {

namespace fs = std::filesystem;

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, n);
}

std::wstring FolderOf(HMODULE module)
{
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return fs::path(path).parent_path().wstring();
}

bool SameFolder(const std::wstring& a, const std::wstring& b)
{
    return ::lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

// One test, in this order: a library once loaded is found by its name
// alone, so the decoys are tried before anything loads them on purpose.
TEST(SystemLibrary, OnlyTheSystemFolderIsSearched)
{
    const fs::path beside = fs::path(ModuleFolder()) / L"qvdecoy.dll";
    ASSERT_TRUE(fs::exists(beside)) << "the build puts the decoy beside the test program";

    // The current folder holds a decoy under another name.
    const fs::path current = fs::temp_directory_path() / L"qv_decoy_cwd";
    fs::create_directories(current);
    fs::copy_file(beside, current / L"qvdecoy2.dll", fs::copy_options::overwrite_existing);
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(current.c_str()));

    EXPECT_EQ(LoadSystemLibrary(L"qvdecoy.dll"), nullptr) << "the program's folder";
    EXPECT_EQ(LoadSystemLibrary(L"qvdecoy2.dll"), nullptr) << "the current folder";

    // The libraries the program needs are found, in the system folder.
    for (const wchar_t* name : {L"oleaut32.dll", L"hhctrl.ocx"}) {
        const UniqueModule module(LoadSystemLibrary(name));
        ASSERT_TRUE(module) << Narrow(name);
        EXPECT_TRUE(SameFolder(FolderOf(module.get()), SystemFolder())) << Narrow(FolderOf(module.get()));
        EXPECT_EQ(::GetProcAddress(module.get(), "QvDecoyMarker"), nullptr);
    }

    // The ordinary search would have taken both decoys: the test sees what it means to.
    {
        const UniqueModule fromBeside(::LoadLibraryW(L"qvdecoy.dll"));
        const UniqueModule fromCurrent(::LoadLibraryW(L"qvdecoy2.dll"));
        EXPECT_TRUE(fromBeside);
        EXPECT_TRUE(fromCurrent);
    }
    ::SetCurrentDirectoryW(previous);
    std::error_code ec;
    fs::remove_all(current, ec);
}

}  // namespace
