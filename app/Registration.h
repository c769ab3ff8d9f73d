// The two runs of the registration switches: the registry script and the
// type library that may lie beside the executable. Results are not
// reported; a missing piece makes its step do nothing.
#pragma once

#include <string>

enum class RegistryAction { Register, Unregister };

void UpdateRegistryScript(RegistryAction action);
void RegisterTypeLibrary();
void UnregisterTypeLibrary();
