// Command-line rules of the COM server start: the self-registration
// switches, the embedding switches, and the paths a registration run uses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class RegistrationRun { None, Register, Unregister };

// The position just after the first '-' or '/' at or after `from`, or npos.
std::size_t FindSwitch(std::wstring_view commandLine, std::size_t from = 0);

// A switch counts only when it runs to the very end of the raw command line;
// "UnregServer" is tested before "RegServer", letter case ignored.
RegistrationRun FindRegistrationRun(std::wstring_view commandLine);

// True when one of the arguments (program name excluded) is "-Embedding",
// "/Embedding", "-Automation" or "/Automation", in any letter case.
bool HasServerSwitch(const std::vector<std::wstring>& arguments);

// The path with the file name's extension, from its last '.', replaced by
// ".tlb" (appended when the file name has no '.').
std::wstring TypeLibraryFallbackPath(std::wstring_view path);

// The path up to and including its last '\\', '/' or ':'; empty without one.
std::wstring HelpDirectory(std::wstring_view path);

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace qv
