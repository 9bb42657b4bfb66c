#pragma once

#include <windows.h>

namespace norv::wintest {

// A left click as the user makes it: the pointer moves to the point, the button goes down and up.
void ClickAt(POINT screen);
void ClickCentreOf(HWND window);
void PressKey(WORD virtualKey);

}  // namespace norv::wintest
