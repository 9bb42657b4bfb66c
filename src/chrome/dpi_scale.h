#pragma once

#include <vector>

namespace norv {

// A widget's place in design pixels: the layout as drawn for a 96 DPI screen, relative to the
// parent.
struct DesignRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const DesignRect&, const DesignRect&) = default;
};

struct DesignSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const DesignSize&, const DesignSize&) = default;
};

inline constexpr int kDesignDpi = 96;

// Converts design pixels to the pixels of a screen of the given DPI. At 96 DPI every value is kept
// exactly; elsewhere values are rounded to the nearest pixel (halves away from zero).
class DpiScale {
 public:
  explicit DpiScale(int dpi);

  int dpi() const { return dpi_; }
  bool IsDesignDpi() const { return dpi_ == kDesignDpi; }

  int Length(int designPixels) const;
  DesignSize Size(DesignSize size) const;
  // Edges are scaled, not widths, so widgets that touch or overlap by a pixel in the design still
  // touch or overlap after scaling instead of drifting apart by rounding.
  DesignRect Rect(DesignRect rect) const;
  std::vector<DesignRect> Layout(const std::vector<DesignRect>& design) const;

  // Character height in pixels of a font of the given point size (a point is 1/72 inch); never
  // more than the layout's own growth, so captions keep fitting their labels.
  int FontHeight(double points) const;

 private:
  int dpi_;
};

}  // namespace norv
