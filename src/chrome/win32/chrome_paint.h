#pragma once

#include <windows.h>

#include <string_view>

#include "chrome/pixmap.h"

namespace norv {

// Covers a panel of the given size with copies of the square texture, `tileSize` on a side (plain
// BitBlt copies), in the order and at the places of TileOrigins; what falls outside is clipped.
void TileBackground(HDC target, int panelWidth, int panelHeight, HBITMAP texture, int tileSize);

// One column header: silver background, the caption centred in `font` with a transparent
// background, then a raised 3-D frame on all four sides.
void DrawHeaderCell(HDC target, int width, int height, std::u16string_view caption, HFONT font);

// Draws the picture with its alpha at (x, y), unscaled.
void DrawPicture(HDC target, const Pixmap& picture, int x, int y);

}  // namespace norv
