#include "Text.h"

namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string ToBytes(UINT codePage, std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Narrow(std::wstring_view wide) { return ToBytes(CP_UTF8, wide); }
std::string ToCp932(std::wstring_view wide) { return ToBytes(932, wide); }
std::wstring FromCp932(std::string_view bytes) { return ToWide(932, bytes); }

std::wstring CutToCp932Bytes(std::wstring_view wide, std::size_t maxBytes)
{
    std::size_t bytes = 0, i = 0;
    for (; i < wide.size(); ++i) {
        const std::size_t len = ToCp932(wide.substr(i, 1)).size();
        if (bytes + len > maxBytes)
            break;
        bytes += len;
    }
    return std::wstring(wide.substr(0, i));
}

std::wstring LoadResString(UINT id)
{
    const wchar_t* text = nullptr;
    const int n = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 ? std::wstring(text, static_cast<std::size_t>(n)) : std::wstring();
}

std::wstring ModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ModuleFolder()
{
    std::wstring path = ModulePath();
    const auto slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring FormatResString(UINT id, const std::wstring& value)
{
    std::wstring text = LoadResString(id);
    if (const std::size_t at = text.find(L"%1"); at != std::wstring::npos)
        text.replace(at, 2, value);
    return text;
}
