/* A library that must never be loaded: the system-library test leaves it
   beside the test program and in the current folder under names the program
   might look for. */
#include <windows.h>

__declspec(dllexport) int QvDecoyMarker(void) { return 42; }
