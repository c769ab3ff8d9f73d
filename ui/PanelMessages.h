// The caption of the panel's messages, and the way the framework's
// validation messages are shown in this program.
#pragma once

#include <string>

#include <windows.h>

// The caption of every message the panel shows.
const std::wstring& PanelCaption();
// Validation messages of data exchange in a message box with the panel's
// caption; called once at start-up.
void InstallValidationMessages();
