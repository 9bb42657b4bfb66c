#include "chrome/pixmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace norv {
namespace {

std::vector<uint8_t> Dib(int width, int height, int bitCount, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> data(40 + pixels.size(), 0);
  std::copy(pixels.begin(), pixels.end(), data.begin() + 40);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&data[at], &v, 4); };
  put32(0, 40);
  put32(4, static_cast<uint32_t>(width));
  put32(8, static_cast<uint32_t>(height));
  data[12] = 1;
  data[14] = static_cast<uint8_t>(bitCount);
  return data;
}

TEST(DecodeDib, ReadsRowsInEitherDirectionWithPaddingAndAlpha) {
  // 2 × 2, 24-bit, bottom-up: the first stored row is the bottom one; rows padded to 4 bytes.
  const auto bottomUp = Dib(2, 2, 24,
                            {0, 0, 255, /**/ 0, 255, 0, /**/ 0, 0,        // bottom: red, green
                             255, 0, 0, /**/ 255, 255, 255, /**/ 0, 0});  // top: blue, white
  auto image = DecodeDib(bottomUp);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), 0xFF0000FFu);  // blue
  EXPECT_EQ(image->At(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image->At(0, 1), 0xFFFF0000u);  // red
  EXPECT_EQ(image->At(1, 1), 0xFF00FF00u);

  // 32-bit top-down (negative height), straight alpha becomes premultiplied.
  const auto topDown = Dib(1, -2, 32, {200, 100, 50, 128, /**/ 10, 20, 30, 0});
  image = DecodeDib(topDown);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), 0x80193264u);  // a 128: r 25, g 50, b 100
  EXPECT_EQ(image->At(0, 1), 0x00000000u);
}

TEST(DecodeDib, RefusesWhatItCannotReadSafely) {
  EXPECT_FALSE(DecodeDib({}));
  const auto good = Dib(2, 2, 32, std::vector<uint8_t>(16, 7));
  ASSERT_TRUE(DecodeDib(good));
  auto truncated = good;
  truncated.pop_back();
  EXPECT_FALSE(DecodeDib(truncated));
  EXPECT_FALSE(DecodeDib(Dib(2, 2, 8, std::vector<uint8_t>(64, 0))));  // palette pictures
  EXPECT_FALSE(DecodeDib(Dib(0, 2, 32, {})));
  EXPECT_FALSE(DecodeDib(Dib(1, INT32_MIN, 32, std::vector<uint8_t>(64, 0))));
  // A size whose byte count would wrap must not be read from a small buffer.
  EXPECT_FALSE(DecodeDib(Dib(0x40000000, 0x40000000, 32, std::vector<uint8_t>(64, 0))));
  auto compressed = good;
  compressed[16] = 1;
  EXPECT_FALSE(DecodeDib(compressed));
}

Pixmap Filled(int width, int height, uint32_t pixel) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, pixel)};
}

TEST(Resample, KeepsFlatPicturesFlatAtAnySize) {
  const Pixmap face = Filled(95, 22, 0xFF8899AAu);
  for (auto [w, h] : {std::pair{73, 20}, {143, 33}, {190, 44}, {67, 20}, {1, 1}}) {
    const Pixmap scaled = Resample(face, w, h);
    ASSERT_EQ(scaled.width, w);
    ASSERT_EQ(scaled.height, h);
    for (uint32_t p : scaled.pixels) ASSERT_EQ(p, 0xFF8899AAu) << w << "x" << h;
  }
  EXPECT_TRUE(Resample(face, 0, 5).pixels.empty());
}

TEST(Resample, ShrinkingAveragesAndKeepsAlphaPremultiplied) {
  // A one-pixel dark line halved in width fades to grey instead of vanishing or staying black.
  Pixmap lines = Filled(4, 1, 0xFFFFFFFFu);
  lines.pixels[1] = 0xFF000000u;
  const Pixmap half = Resample(lines, 2, 1);
  EXPECT_EQ(half.At(0, 0), 0xFF808080u);
  EXPECT_EQ(half.At(1, 0), 0xFFFFFFFFu);

  // Half-transparent corners: no colour channel may exceed alpha after filtering.
  Pixmap corner = Filled(3, 3, 0xFFFFFFFFu);
  corner.pixels[0] = 0x00000000u;
  corner.pixels[4] = 0x40404040u;
  for (auto [w, h] : {std::pair{2, 2}, {5, 5}, {7, 2}}) {
    for (uint32_t p : Resample(corner, w, h).pixels) {
      const uint32_t a = p >> 24;
      ASSERT_LE(p >> 16 & 0xFF, a);
      ASSERT_LE(p >> 8 & 0xFF, a);
      ASSERT_LE(p & 0xFF, a);
    }
  }
}

TEST(Resample, GrowingInterpolatesBetweenNeighbours) {
  Pixmap two = Filled(2, 1, 0xFF000000u);
  two.pixels[1] = 0xFFFFFFFFu;
  const Pixmap four = Resample(two, 4, 1);
  EXPECT_EQ(four.At(0, 0), 0xFF000000u);  // edges keep their colour
  EXPECT_EQ(four.At(3, 0), 0xFFFFFFFFu);
  EXPECT_GT(four.At(2, 0) & 0xFF, four.At(1, 0) & 0xFF);  // rising in between
}

}  // namespace
}  // namespace norv
