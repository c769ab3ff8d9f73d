#include "SystemLibrary.h"

#include <string>

HMODULE LoadSystemLibrary(const wchar_t* fileName)
{
    if (const HMODULE module = ::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    // A system without the search flags (Windows 7 before its 2011 update)
    // refuses them as an invalid parameter; the full path serves there.
    if (::GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    const UINT size = ::GetSystemDirectoryW(nullptr, 0);
    std::wstring path(size, L'\0');
    const UINT length = ::GetSystemDirectoryW(path.data(), size);
    if (length == 0 || length >= size)
        return nullptr;
    path.resize(length);
    path += L'\\';
    path += fileName;
    // The library's own imports are then looked for in its folder first.
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
