#pragma once

#include <vector>

#include "core/geometry.h"

namespace norv {

// Where TileBackground copies the texture on a panel, in drawing order: column by column from the
// top-left corner, each column running down to and including the first tile that starts below the
// panel's height, and columns up to and including the first that starts right of its width. Tiles
// past the edges are clipped when drawn; starting every panel at its corner keeps the texture's
// seams in the same place on every panel, whatever its size.
std::vector<Point> TileOrigins(int panelWidth, int panelHeight, int tileWidth, int tileHeight);

}  // namespace norv
