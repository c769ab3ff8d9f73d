#include "CommandLine.h"

#include <algorithm>

namespace qv {

namespace {
wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
}  // namespace

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

std::size_t FindSwitch(std::wstring_view commandLine, std::size_t from)
{
    const std::size_t at = commandLine.find_first_of(L"-/", from);
    return at == std::wstring_view::npos ? at : at + 1;
}

RegistrationRun FindRegistrationRun(std::wstring_view commandLine)
{
    for (std::size_t token = FindSwitch(commandLine); token != std::wstring_view::npos;
         token = FindSwitch(commandLine, token)) {
        const std::wstring_view rest = commandLine.substr(token);
        if (EqualsIgnoringCase(rest, L"UnregServer"))
            return RegistrationRun::Unregister;
        if (EqualsIgnoringCase(rest, L"RegServer"))
            return RegistrationRun::Register;
    }
    return RegistrationRun::None;
}

bool HasServerSwitch(const std::vector<std::wstring>& arguments)
{
    return std::any_of(arguments.begin(), arguments.end(), [](const std::wstring& arg) {
        if (arg.empty() || (arg[0] != L'-' && arg[0] != L'/'))
            return false;
        const std::wstring_view flag = std::wstring_view(arg).substr(1);
        return EqualsIgnoringCase(flag, L"Embedding") || EqualsIgnoringCase(flag, L"Automation");
    });
}

std::wstring TypeLibraryFallbackPath(std::wstring_view path)
{
    // A dot in a folder name is no extension: only the file name is searched.
    const std::size_t nameStart = HelpDirectory(path).size();
    const std::size_t dot = path.rfind(L'.');
    const std::size_t cut = dot != std::wstring_view::npos && dot >= nameStart ? dot : path.size();
    return std::wstring(path.substr(0, cut)) + L".tlb";
}

std::wstring HelpDirectory(std::wstring_view path)
{
    const std::size_t sep = path.find_last_of(L"\\/:");
    return sep == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, sep + 1));
}

}  // namespace qv
