// The application object: starts COM, handles the registration and server
// switches, keeps the panel single, runs the main window, ends it all.
#pragma once

class CPanelApp {
public:
    // Runs the whole program; returns the process exit code.
    int Run();

    bool comInitialised = false;

private:
    // False when the process should end without a message loop.
    bool InitInstance();
    int ExitInstance(int exitCode);
    // Starts COM and serves the self-registration switches; false ends start-up.
    bool InitComServer();
    void ExitComServer();
};
