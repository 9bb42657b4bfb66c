#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace norv {

// A position in the desktop list view's own coordinates (pixels).
struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom edges of the desktop area that icons may occupy; anything beyond is hidden.
struct DesktopRect {
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const DesktopRect&, const DesktopRect&) = default;
};

// A screen point kept as two 16-bit values, as the animations' anchor points are.
struct ScreenPoint {
  int16_t x = 0;
  int16_t y = 0;
};

// Just past the area's lower-right corner, where every hidden icon is put.
inline Point HidingPointOf(DesktopRect area) { return {area.right + 50, area.bottom + 50}; }

// Strict and signed: an icon exactly on the edge is still shown.
inline bool IsBeyondDesktop(Point p, DesktopRect rect) {
  return p.x > rect.right || p.y > rect.bottom;
}

// The nearest 16-bit value, for positions stored or passed on in 16 bits: a value out of range
// stays on the same side of an edge instead of wrapping around.
inline int16_t ClampTo16Bits(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

}  // namespace norv
