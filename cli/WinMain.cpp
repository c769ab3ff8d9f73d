// qvx4k5cmd on Windows: the wide command line as UTF-8, console output that
// reads right in cmd.exe and PowerShell, the spooler the panel uses, and
// the panel's settings file writer and send journal.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>

#include "ConsoleWriter.h"
#include "Tool.h"
#include "storage/JournalWin32.h"
#include "storage/SettingsFileWin32.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "printer/SpoolerAccess.h"

int wmain(int argc, wchar_t** argv)
{
    ConsoleWriter outWriter(STD_OUTPUT_HANDLE), errWriter(STD_ERROR_HANDLE);
    std::ostream out(&outWriter), err(&errWriter);

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Narrow(argv[i]));

    qv::cli::ToolEnvironment env{out, err};
    env.useUtf8Output = [&] { outWriter.UseUtf8(); };
    env.useUtf8Errors = [&] { errWriter.UseUtf8(); };
    env.useBinaryOutput = [&] { return outWriter.UseBinary(); };
    env.outputError = [&] { return static_cast<int>(outWriter.Error()); };
    // Standard input as bytes, unless it is the console (nothing to read a
    // settings file from).
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input && input != INVALID_HANDLE_VALUE && !::GetConsoleMode(input, &mode)) {
        ::_setmode(::_fileno(stdin), _O_BINARY);
        env.in = &std::cin;
    }
    env.spooler = &CurrentSpooler();
    env.ntFamily = CurrentPlatform().IsNtFamily();
    // The selection dialog's list sorts itself with the system's collation.
    env.listOrder = [](const std::wstring& a, const std::wstring& b) {
        return ::lstrcmpW(a.c_str(), b.c_str()) < 0;
    };
    env.writeSettingsFile = [](const std::filesystem::path& path, const qv::SettingsBlock& block) {
        return WriteSettingsFileWin32(path, block);
    };
    env.journal = [](const std::optional<std::filesystem::path>& extraFolder) {
        return qv::SendJournal(Win32JournalPlaces(extraFolder), Win32JournalSteps());
    };
    env.writeFile = [](const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
        return qv::WriteFileReplacing(path, bytes, Win32SaveSteps());
    };
    const int code = qv::cli::RunTool(args, env);
    err.flush();
    return code;
}
