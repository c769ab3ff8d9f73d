// Text conversions at the Win32 boundary: the core speaks UTF-8, windows
// speak UTF-16, and a few byte counts are taken in code page 932.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
std::string ToCp932(std::wstring_view wide);
std::wstring FromCp932(std::string_view bytes);
// The longest prefix of `wide` whose code page 932 form has at most maxBytes
// bytes; never splits a double-byte character.
std::wstring CutToCp932Bytes(std::wstring_view wide, std::size_t maxBytes);
std::wstring LoadResString(UINT id);
// A string resource with its "%1" replaced by `value`.
std::wstring FormatResString(UINT id, const std::wstring& value);
// The executable's full path; not limited to MAX_PATH.
std::wstring ModulePath();
// The folder of the executable with its trailing backslash.
std::wstring ModuleFolder();
