#include "chrome/win32/chrome_paint.h"

#include "chrome/caption_placement.h"
#include "chrome/tile_layout.h"
#include "chrome/win32/chrome_style.h"
#include "core/win32/scoped_handles.h"

namespace norv {

namespace {

constexpr COLORREF kHeaderCellColour = RGB(192, 192, 192);

}  // namespace

void TileBackground(HDC target, int panelWidth, int panelHeight, HBITMAP texture, int tileSize) {
  const ScopedMemoryDc source(CreateCompatibleDC(target));
  if (!source) return;
  const ScopedSelection selected(source.get(), texture);
  // A failed copy leaves that part of the panel as it was; nothing else depends on it.
  for (const Point& origin : TileOrigins(panelWidth, panelHeight, tileSize, tileSize)) {
    BitBlt(target, origin.x, origin.y, tileSize, tileSize, source.get(), 0, 0, SRCCOPY);
  }
}

void DrawHeaderCell(HDC target, int width, int height, std::u16string_view caption, HFONT font) {
  RECT cell{0, 0, width, height};
  const ScopedBrush silver(CreateSolidBrush(kHeaderCellColour));
  FillRect(target, &cell, silver.get());
  {
    const ScopedSelection selected(target, font);
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
  }
  DrawEdge(target, &cell, EDGE_RAISED, BF_RECT);
}

void DrawPicture(HDC target, const Pixmap& picture, int x, int y) {
  const ScopedBitmap bitmap = CreateBitmapFromPixmap(picture);
  if (!bitmap) return;
  const ScopedMemoryDc source(CreateCompatibleDC(target));
  const ScopedSelection selected(source.get(), bitmap.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // gdi32's own entry: msimg32 is no known system library and could be planted beside Norv.exe.
  GdiAlphaBlend(target, x, y, picture.width, picture.height, source.get(), 0, 0, picture.width,
                picture.height, blend);
}

}  // namespace norv
