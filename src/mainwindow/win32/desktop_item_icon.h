#pragma once

#include <windows.h>

#include <string_view>

namespace norv {

// The icon of the desktop item that the icon list names `iconText` (its text without trailing
// spaces, possibly cut to what the list holds), at least `size` pixels where the shell has one
// that large; null when no item of the desktop folder has that name. The caller destroys it.
//
// The shell's own image list lives in the shell's process and cannot be drawn from here, so the
// item is looked up again, by name, in the desktop folder of this process.
HICON LoadDesktopItemIcon(std::u16string_view iconText, int size);

// A neutral picture for items the desktop folder does not know; the caller destroys it.
HICON LoadNeutralIcon(int size);

}  // namespace norv
