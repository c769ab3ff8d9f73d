#include "PanelApp.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "Registration.h"
#include "core/CommandLine.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "ui/MainPanelDlg.h"
#include "ui/PanelMessages.h"

namespace {

const wchar_t* const kMainWindowClass = L"#32770";
const wchar_t* const kMainWindowTitle = L"Tav Kestrolinea 418KQ5 クオーヴェクス";

// The executable's file name without folder and extension.
std::wstring ApplicationName()
{
    std::wstring name = ModulePath();
    name.erase(0, name.find_last_of(L"\\/") + 1);
    if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

std::vector<std::wstring> Arguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    if (LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments.emplace_back(argv[i]);
        ::LocalFree(argv);
    }
    return arguments;
}

// Brings the running panel to the front.
void RaiseRunningPanel()
{
    const HWND panel = ::FindWindowW(kMainWindowClass, kMainWindowTitle);
    if (!panel)
        return;
    if (::IsIconic(panel))
        ::ShowWindow(panel, SW_RESTORE);
    ::SetForegroundWindow(panel);
}

// Owns the single-instance mutex while the panel runs.
struct HeldMutex {
    UniqueKernelHandle handle;
    ~HeldMutex()
    {
        if (handle)
            ::ReleaseMutex(handle.get());
    }
};

}  // namespace

int CPanelApp::Run()
{
    if (!InitInstance())
        return ExitInstance(0);
    // Only an embedding start gets here: a message loop without a window.
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance(static_cast<int>(msg.wParam));
}

bool CPanelApp::InitInstance()
{
    if (!InitComServer())
        return false;
    if (qv::HasServerSwitch(Arguments()))
        return true;

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                             ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    InstallValidationMessages();

    // One call both creates and tests, so two panels started at the same
    // instant cannot both pass.
    HeldMutex single{UniqueKernelHandle(::CreateMutexW(nullptr, TRUE, ApplicationName().c_str()))};
    if (single.handle && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        single.handle.reset();
        RaiseRunningPanel();
        return false;
    }

    CMainPanelDlg mainWindow;
    mainWindow.DoModal(nullptr);
    return false;
}

int CPanelApp::ExitInstance(int exitCode)
{
    ExitComServer();
    return exitCode;
}

bool CPanelApp::InitComServer()
{
    comInitialised = true;
    if (FAILED(::CoInitialize(nullptr))) {
        comInitialised = false;
        return false;
    }
    const qv::RegistrationRun run = qv::FindRegistrationRun(::GetCommandLineW());
    if (run == qv::RegistrationRun::None)
        return true;  // no class objects to register: the table is empty

    if (run == qv::RegistrationRun::Register) {
        UpdateRegistryScript(RegistryAction::Register);
        RegisterTypeLibrary();
    } else {
        UpdateRegistryScript(RegistryAction::Unregister);
        UnregisterTypeLibrary();
    }
    comInitialised = false;
    ::CoUninitialize();
    return false;
}

void CPanelApp::ExitComServer()
{
    if (!comInitialised)
        return;
    comInitialised = false;
    ::CoUninitialize();
}
