#pragma once

#include <windows.h>

#include <string>

namespace norv::wintest {

// A picture of the window as it is on the screen, as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::wstring& path);

}  // namespace norv::wintest
