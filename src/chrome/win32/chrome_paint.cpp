#include "chrome/win32/chrome_paint.h"

#include "chrome/caption_placement.h"
#include "chrome/tile_layout.h"
#include "chrome/win32/chrome_style.h"

namespace norv {

namespace {

constexpr COLORREF kHeaderCellColour = RGB(192, 192, 192);

}  // namespace

// The values the original passed by number: raised edge 5 on all four sides (15).
static_assert(EDGE_RAISED == 5 && BF_RECT == 15);

void TileBackground(HDC target, int panelWidth, int panelHeight, HBITMAP texture, int tileSize) {
  HDC source = CreateCompatibleDC(target);
  if (!source) return;
  HGDIOBJ previous = SelectObject(source, texture);
  // A failed copy leaves that part of the panel as it was; nothing else depends on it.
  for (const Point& origin : TileOrigins(panelWidth, panelHeight, tileSize, tileSize)) {
    BitBlt(target, origin.x, origin.y, tileSize, tileSize, source, 0, 0, SRCCOPY);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

void DrawHeaderCell(HDC target, int width, int height, std::u16string_view caption, HFONT font) {
  RECT cell{0, 0, width, height};
  HBRUSH silver = CreateSolidBrush(kHeaderCellColour);
  FillRect(target, &cell, silver);
  DeleteObject(silver);

  HGDIOBJ previousFont = SelectObject(target, font);
  const auto* text = reinterpret_cast<const wchar_t*>(caption.data());
  const int length = static_cast<int>(caption.size());
  SIZE extent{};
  GetTextExtentPoint32W(target, text, length, &extent);
  const int x = CentredOffset(width, extent.cx);
  const int y = CentredOffset(height, extent.cy);
  SetBkMode(target, TRANSPARENT);
  SetTextColor(target, GetSysColor(COLOR_BTNTEXT));
  // Clipped to the cell, so a caption wider than the cell loses the same amount on both sides.
  ExtTextOutW(target, x, y, ETO_CLIPPED, &cell, text, static_cast<UINT>(length), nullptr);
  SelectObject(target, previousFont);

  DrawEdge(target, &cell, EDGE_RAISED, BF_RECT);
}

void DrawPicture(HDC target, const Pixmap& picture, int x, int y) {
  HBITMAP bitmap = CreateBitmapFromPixmap(picture);
  if (!bitmap) return;
  HDC source = CreateCompatibleDC(target);
  HGDIOBJ previous = SelectObject(source, bitmap);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // gdi32's own entry: msimg32 is no known system library and could be planted beside Norv.exe.
  GdiAlphaBlend(target, x, y, picture.width, picture.height, source, 0, 0, picture.width,
                picture.height, blend);
  SelectObject(source, previous);
  DeleteDC(source);
  DeleteObject(bitmap);
}

}  // namespace norv
