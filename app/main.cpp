#include <windows.h>

#include "PanelApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    CPanelApp app;
    return app.Run();
}
