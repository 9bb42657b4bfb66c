#pragma once

#include <windows.h>

namespace norv::wintest {

// Norv.exe's tray icon used as the user uses it: the mouse events the notification area would
// pass on, and the menu they open, chosen by keyboard.
void SendTrayMouse(HWND tray, UINT mouseMessage);
// The menu of `tray`'s program on the screen now; nullptr when none shows.
HWND VisibleTrayMenu(HWND tray);
// Opens the menu with a right press and waits until it takes input; nullptr when it did not.
HWND OpenTrayMenu(HWND tray, DWORD timeoutMs);
// Opens the menu and chooses its n-th entry (1 to 4); false when the menu did not open.
bool ChooseTrayEntry(HWND tray, int entry, DWORD timeoutMs);

}  // namespace norv::wintest
