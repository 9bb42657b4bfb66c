// Checks the artwork the build draws: the sizes and roles the windows rely on, and that the pieces
// stay usable (a face that visibly presses, captions that stay readable, the pointer's hot spot).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "chrome/pixmap.h"

namespace norv {
namespace {

std::vector<uint8_t> ReadArtwork(const std::string& name) {
  std::ifstream in(std::string(NORV_ARTWORK_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

Pixmap Bitmap(const std::string& name) {
  const auto file = ReadArtwork(name);
  const size_t fileHeader = 14;
  if (file.size() <= fileHeader || file[0] != 'B' || file[1] != 'M') return {};
  auto image = DecodeDib(std::span(file).subspan(fileHeader));
  return image ? *image : Pixmap{};
}

uint32_t Le(const std::vector<uint8_t>& data, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | data[at + static_cast<size_t>(i)];
  return v;
}

struct IconEntry {
  int width;
  int height;
  int hotX;  // cursor files only
  int hotY;
  Pixmap image;
};

// Entries of an ICO or CUR file with their decoded colour images.
std::vector<IconEntry> IconEntries(const std::string& name) {
  const auto file = ReadArtwork(name);
  std::vector<IconEntry> entries;
  if (file.size() < 6) return entries;
  const int count = static_cast<int>(Le(file, 4, 2));
  for (int i = 0; i < count; ++i) {
    const size_t at = 6 + 16 * static_cast<size_t>(i);
    IconEntry entry{file[at] ? file[at] : 256,
                    file[at + 1] ? file[at + 1] : 256,
                    static_cast<int>(Le(file, at + 4, 2)),
                    static_cast<int>(Le(file, at + 6, 2)),
                    {}};
    const size_t offset = Le(file, at + 12, 4);
    const size_t size = Le(file, at + 8, 4);
    if (offset + size > file.size()) break;
    // The stored height counts the mask too; the colour image is the first half.
    std::vector<uint8_t> dib(file.begin() + static_cast<long>(offset),
                             file.begin() + static_cast<long>(offset + size));
    const int32_t colourHeight = entry.height;
    std::memcpy(&dib[8], &colourHeight, 4);
    if (auto image = DecodeDib(dib)) entry.image = *image;
    entries.push_back(entry);
  }
  return entries;
}

double Luminance(uint32_t pixel) {
  return 0.299 * (pixel >> 16 & 0xFF) + 0.587 * (pixel >> 8 & 0xFF) + 0.114 * (pixel & 0xFF);
}

// Mean luminance of the opaque pixels inside a margin (the part a caption is drawn on).
double InnerLuminance(const Pixmap& image, int margin) {
  double sum = 0;
  int count = 0;
  for (int y = margin; y < image.height - margin; ++y) {
    for (int x = margin; x < image.width - margin; ++x) {
      sum += Luminance(image.At(x, y));
      ++count;
    }
  }
  return count ? sum / count : 0;
}

TEST(Artwork, StockPicturesHaveTheirDesignSizesAndDoubleSizes) {
  const struct {
    const char* stem;
    int width;
    int height;
  } pictures[] = {{"texture", 96, 96},     {"face_released", 95, 22}, {"face_pressed", 95, 22},
                  {"title_plate", 95, 22}, {"check_off", 13, 13},     {"check_on", 13, 13}};
  for (const auto& p : pictures) {
    const Pixmap normal = Bitmap(std::string(p.stem) + ".bmp");
    const Pixmap doubled = Bitmap(std::string(p.stem) + "_2x.bmp");
    EXPECT_EQ(normal.width, p.width) << p.stem;
    EXPECT_EQ(normal.height, p.height) << p.stem;
    EXPECT_EQ(doubled.width, 2 * p.width) << p.stem;
    EXPECT_EQ(doubled.height, 2 * p.height) << p.stem;
  }
}

TEST(Artwork, TextureIsOpaqueAndLightEnoughForBlackCaptions) {
  const Pixmap texture = Bitmap("texture.bmp");
  ASSERT_EQ(texture.width, 96);
  for (uint32_t p : texture.pixels) ASSERT_EQ(p >> 24, 0xFFu);
  EXPECT_GT(InnerLuminance(texture, 0), 180);
}

TEST(Artwork, PressedFaceVisiblyDiffersAndBothCarryReadableBlackCaptions) {
  const Pixmap released = Bitmap("face_released.bmp");
  const Pixmap pressed = Bitmap("face_pressed.bmp");
  ASSERT_EQ(released.pixels.size(), pressed.pixels.size());
  const double up = InnerLuminance(released, 3);
  const double down = InnerLuminance(pressed, 3);
  EXPECT_GT(up - down, 15) << "the pressed face must look pushed in";
  EXPECT_GT(down, 150) << "black captions must stay readable on the pressed face";
  // Rounded corners let the texture through; the middle is solid.
  EXPECT_EQ(released.At(0, 0) >> 24, 0u);
  EXPECT_EQ(released.At(47, 11) >> 24, 0xFFu);
  EXPECT_EQ(pressed.At(94, 21) >> 24, 0u);
}

TEST(Artwork, TitlePlateIsDarkUnderItsWhiteCaption) {
  EXPECT_LT(InnerLuminance(Bitmap("title_plate.bmp"), 3), 120);
}

TEST(Artwork, CheckedBoxShowsATick) {
  const Pixmap off = Bitmap("check_off.bmp");
  const Pixmap on = Bitmap("check_on.bmp");
  EXPECT_LT(InnerLuminance(on, 2), InnerLuminance(off, 2) - 20);
}

TEST(Artwork, HandPointerHotSpotIsOnTheFingertip) {
  const auto entries = IconEntries("hand.cur");
  ASSERT_EQ(entries.size(), 2u);
  const IconEntry& normal = entries[0];
  EXPECT_EQ(normal.width, 32);
  EXPECT_EQ(normal.height, 32);
  EXPECT_EQ(normal.hotX, 12);
  EXPECT_EQ(normal.hotY, 1);
  ASSERT_EQ(normal.image.width, 32);
  EXPECT_EQ(normal.image.At(12, 1) >> 24, 0xFFu);
  // Only a narrow fingertip reaches that high.
  EXPECT_EQ(normal.image.At(7, 1) >> 24, 0u);
  EXPECT_EQ(normal.image.At(17, 1) >> 24, 0u);
  const IconEntry& doubled = entries[1];
  EXPECT_EQ(doubled.width, 64);
  EXPECT_EQ(doubled.hotX, 24);
  EXPECT_EQ(doubled.hotY, 2);
}

TEST(Artwork, ProgramAndRestoreIconsComeInTheUsualSizesAndDiffer) {
  const auto program = IconEntries("program.ico");
  const auto restore = IconEntries("restore.ico");
  for (const auto* icon : {&program, &restore}) {
    std::set<int> sizes;
    for (const IconEntry& e : *icon) {
      EXPECT_EQ(e.width, e.height);
      EXPECT_EQ(e.image.width, e.width);
      sizes.insert(e.width);
    }
    for (int needed : {16, 32, 48}) EXPECT_TRUE(sizes.count(needed)) << needed;
  }
  ASSERT_FALSE(program.empty());
  ASSERT_FALSE(restore.empty());
  EXPECT_NE(program[0].image.pixels, restore[0].image.pixels);
}

}  // namespace
}  // namespace norv
