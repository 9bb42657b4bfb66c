#include "chrome/pixmap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace norv {

namespace {

uint32_t ReadLe32(std::span<const uint8_t> data, size_t at) {
  return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
         static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}

uint16_t ReadLe16(std::span<const uint8_t> data, size_t at) {
  return static_cast<uint16_t>(data[at] | data[at + 1] << 8);
}

uint32_t Premultiply(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  auto mul = [a](uint8_t c) { return static_cast<uint32_t>((c * a + 127) / 255); };
  return static_cast<uint32_t>(a) << 24 | mul(r) << 16 | mul(g) << 8 | mul(b);
}

// One pixel as four float channels, for filtering.
using Channels = std::array<float, 4>;

Channels Unpack(uint32_t p) {
  return {static_cast<float>(p >> 24), static_cast<float>(p >> 16 & 0xFF),
          static_cast<float>(p >> 8 & 0xFF), static_cast<float>(p & 0xFF)};
}

uint32_t Pack(const Channels& c) {
  auto byte = [](float v) {
    return static_cast<uint32_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
  };
  const uint32_t a = byte(c[0]);
  // Premultiplied colour never exceeds its alpha; rounding must not break that.
  auto colour = [&](float v) { return std::min(byte(v), a); };
  return a << 24 | colour(c[1]) << 16 | colour(c[2]) << 8 | colour(c[3]);
}

struct Tap {
  int index;
  float weight;
};

// For each destination position along one axis, which source positions contribute and how much.
std::vector<std::vector<Tap>> AxisTaps(int sourceLength, int targetLength) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(targetLength));
  const double ratio = static_cast<double>(sourceLength) / targetLength;
  for (int i = 0; i < targetLength; ++i) {
    auto& list = taps[static_cast<size_t>(i)];
    if (ratio > 1.0) {
      const double begin = i * ratio;
      const double end = begin + ratio;
      for (int s = static_cast<int>(begin); s < sourceLength && s < end; ++s) {
        const double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
        if (covered > 0) list.push_back({s, static_cast<float>(covered / ratio)});
      }
    } else {
      const double centre = std::clamp((i + 0.5) * ratio - 0.5, 0.0, sourceLength - 1.0);
      const int low = static_cast<int>(centre);
      const int high = std::min(low + 1, sourceLength - 1);
      const float upper = static_cast<float>(centre - low);
      list.push_back({low, 1.0f - upper});
      if (high != low && upper > 0) list.push_back({high, upper});
    }
  }
  return taps;
}

}  // namespace

std::optional<Pixmap> DecodeDib(std::span<const uint8_t> data) {
  if (data.size() < 40) return std::nullopt;
  const uint32_t headerSize = ReadLe32(data, 0);
  const auto width = static_cast<int32_t>(ReadLe32(data, 4));
  const auto signedHeight = static_cast<int32_t>(ReadLe32(data, 8));
  const uint16_t bitCount = ReadLe16(data, 14);
  const uint32_t compression = ReadLe32(data, 16);
  constexpr uint32_t kUncompressed = 0;
  if (headerSize < 40 || headerSize > data.size()) return std::nullopt;
  if (compression != kUncompressed || (bitCount != 24 && bitCount != 32)) return std::nullopt;
  // The smallest int32 has no positive counterpart; limits also keep the size sums from wrapping.
  constexpr int32_t kMaxSide = 1 << 14;
  if (width <= 0 || width > kMaxSide || signedHeight == std::numeric_limits<int32_t>::min())
    return std::nullopt;
  const int32_t height = signedHeight < 0 ? -signedHeight : signedHeight;
  if (height == 0 || height > kMaxSide) return std::nullopt;

  const size_t bytesPerPixel = bitCount / 8;
  const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) / 4 * 4;
  const size_t needed = headerSize + stride * static_cast<size_t>(height);
  if (data.size() < needed) return std::nullopt;

  Pixmap image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  for (int32_t row = 0; row < height; ++row) {
    const int32_t sourceRow = signedHeight > 0 ? height - 1 - row : row;
    const size_t base = headerSize + stride * static_cast<size_t>(sourceRow);
    for (int32_t x = 0; x < width; ++x) {
      const size_t at = base + static_cast<size_t>(x) * bytesPerPixel;
      const uint8_t alpha = bitCount == 32 ? data[at + 3] : 255;
      image.pixels[static_cast<size_t>(row) * width + x] =
          Premultiply(alpha, data[at + 2], data[at + 1], data[at]);
    }
  }
  return image;
}

Pixmap Resample(const Pixmap& source, int width, int height) {
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return {};
  if (width == source.width && height == source.height) return source;

  const auto columns = AxisTaps(source.width, width);
  const auto rows = AxisTaps(source.height, height);

  // Horizontal pass into floats, then vertical into the result.
  std::vector<Channels> wide(static_cast<size_t>(width) * source.height);
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < width; ++x) {
      Channels sum{};
      for (const Tap& tap : columns[static_cast<size_t>(x)]) {
        const Channels c = Unpack(source.At(tap.index, y));
        for (size_t k = 0; k < 4; ++k) sum[k] += c[k] * tap.weight;
      }
      wide[static_cast<size_t>(y) * width + x] = sum;
    }
  }
  Pixmap result{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Channels sum{};
      for (const Tap& tap : rows[static_cast<size_t>(y)]) {
        const Channels& c = wide[static_cast<size_t>(tap.index) * width + x];
        for (size_t k = 0; k < 4; ++k) sum[k] += c[k] * tap.weight;
      }
      result.pixels[static_cast<size_t>(y) * width + x] = Pack(sum);
    }
  }
  return result;
}

}  // namespace norv
