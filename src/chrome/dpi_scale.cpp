#include "chrome/dpi_scale.h"

#include <cmath>
#include <cstdint>

namespace norv {

namespace {

int RoundHalfAway(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

// A DPI the system cannot have (zero or negative) is taken as the design DPI rather than
// collapsing every widget to nothing.
DpiScale::DpiScale(int dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

int DpiScale::Length(int designPixels) const {
  if (IsDesignDpi()) return designPixels;
  const int64_t scaled = static_cast<int64_t>(designPixels) * dpi_;
  // Integer halves away from zero, like MulDiv, without floating-point error on large values.
  const int64_t half = kDesignDpi / 2;
  const int64_t rounded =
      scaled >= 0 ? (scaled + half) / kDesignDpi : -((-scaled + half) / kDesignDpi);
  return static_cast<int>(rounded);
}

DesignSize DpiScale::Size(DesignSize size) const {
  return {Length(size.width), Length(size.height)};
}

DesignRect DpiScale::Rect(DesignRect rect) const {
  const int left = Length(rect.x);
  const int top = Length(rect.y);
  const int right = Length(rect.x + rect.width);
  const int bottom = Length(rect.y + rect.height);
  return {left, top, right - left, bottom - top};
}

std::vector<DesignRect> DpiScale::Layout(const std::vector<DesignRect>& design) const {
  std::vector<DesignRect> scaled;
  scaled.reserve(design.size());
  for (const DesignRect& rect : design) scaled.push_back(Rect(rect));
  return scaled;
}

int DpiScale::FontHeight(double points) const {
  if (IsDesignDpi()) return RoundHalfAway(points * dpi_ / 72.0);
  // Rounded down elsewhere: text rounded up would grow faster than the labels around it, and a
  // caption that just fits its label in the design would be cut off.
  return static_cast<int>(std::floor(points * dpi_ / 72.0 + 1e-9));
}

}  // namespace norv
