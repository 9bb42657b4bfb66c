// A library someone left beside the program or in the current directory, named like one a
// program might look for by name alone.
#include <windows.h>

extern "C" __declspec(dllexport) int NorvPlanted() { return 42; }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
