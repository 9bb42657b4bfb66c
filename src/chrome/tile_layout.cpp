#include "chrome/tile_layout.h"

namespace norv {

std::vector<Point> TileOrigins(int panelWidth, int panelHeight, int tileWidth, int tileHeight) {
  std::vector<Point> origins;
  // An empty texture would never advance; there is nothing to draw with it anyway.
  if (tileWidth <= 0 || tileHeight <= 0) return origins;
  int x = 0;
  int y = 0;
  for (;;) {
    origins.push_back({x, y});
    if (y > panelHeight) {
      if (x > panelWidth) break;
      x += tileWidth;
      y = 0;
    } else {
      y += tileHeight;
    }
  }
  return origins;
}

}  // namespace norv
