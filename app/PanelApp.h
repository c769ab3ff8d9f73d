// The application object: starts the panel, keeps it single, ends it.
#pragma once

class CPanelApp {
public:
    // Runs the whole program; returns the process exit code.
    int Run();
};
