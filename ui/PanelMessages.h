// The caption of the panel's messages, and the way the framework's
// validation messages are shown in this program.
#pragma once

#include <string>

#include <windows.h>

// The caption of every message the panel shows.
const std::wstring& PanelCaption();
// A message of the string table with the panel's caption; MB_ buttons (OK
// when none) and icon in `type`.
int ShowPanelMessage(HWND owner, UINT text, UINT type);
// Validation messages of data exchange in a message box with the panel's
// caption; called once at start-up.
void InstallValidationMessages();
