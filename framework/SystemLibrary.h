// Libraries loaded at run time come from the system folder only, never from
// the program's folder or the current one, where anybody may leave a file of
// the same name.
#pragma once

#include <windows.h>

// The module, or nullptr when the system folder holds no such library.
HMODULE LoadSystemLibrary(const wchar_t* fileName);
