#pragma once

#include <windows.h>

#include "core/win32/scoped_handles.h"

namespace norv {

// The icon preview: a white box that shows one icon at its top-left corner, scaled to the box. It
// keeps the icon, so a repaint shows it again; a box without an icon is white.
HWND CreateIconPreviewBox(HWND parent);
// Hands the box a new icon, or none to make it white (freed at once when `box` is no preview box).
void SetPreviewIcon(HWND box, ScopedIcon icon);

}  // namespace norv
