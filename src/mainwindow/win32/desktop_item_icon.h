#pragma once

#include <windows.h>

#include <string_view>

#include "core/win32/scoped_handles.h"

namespace norv {

// The icon of the desktop item that the icon list names `iconText` (its text without trailing
// spaces, possibly cut to what the list holds), at least `size` pixels where the shell has one
// that large; empty when no item of the desktop folder has that name.
//
// The shell's own image list lives in the shell's process and cannot be drawn from here, so the
// item is looked up again, by name, in the desktop folder of this process.
ScopedIcon LoadDesktopItemIcon(std::u16string_view iconText, int size);

// A neutral picture for items the desktop folder does not know.
ScopedIcon LoadNeutralIcon(int size);

}  // namespace norv
