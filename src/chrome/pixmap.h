#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace norv {

// A picture in memory: rows from the top, each pixel 0xAARRGGBB with premultiplied alpha (the
// layout a 32-bit top-down Windows DIB and AlphaBlend expect).
struct Pixmap {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Reads a device-independent bitmap as stored in a bitmap resource or after a BMP file header:
// an information header of at least 40 bytes, then uncompressed 24- or 32-bit pixels, bottom-up or
// top-down. 32-bit pixels carry straight alpha in their fourth byte; 24-bit ones are opaque.
// Anything else, or data too short for the size it claims, gives nothing.
std::optional<Pixmap> DecodeDib(std::span<const uint8_t> data);

// The picture scaled to width × height: averaged over the covered pixels when shrinking (so thin
// lines fade instead of vanishing), interpolated when growing. Empty sizes give an empty picture.
Pixmap Resample(const Pixmap& source, int width, int height);

}  // namespace norv
