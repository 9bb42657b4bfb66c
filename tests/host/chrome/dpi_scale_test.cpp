#include "chrome/dpi_scale.h"

#include <gtest/gtest.h>

#include "chrome/caption_placement.h"

namespace norv {
namespace {

// The header row of the main window: each cell starts one pixel before the previous one ends.
const std::vector<DesignRect> kHeaderRow = {{12, 40, 41, 21},  {52, 40, 57, 21},
                                            {108, 40, 57, 21}, {164, 40, 61, 21},
                                            {224, 40, 65, 21}, {288, 40, 233, 21}};

TEST(DpiScale, DesignDpiKeepsEveryPixel) {
  const DpiScale scale(96);
  EXPECT_EQ(scale.Layout(kHeaderRow), kHeaderRow);
  EXPECT_EQ(scale.Rect({304, 12, 95, 22}), (DesignRect{304, 12, 95, 22}));
  EXPECT_EQ(scale.Size({537, 385}), (DesignSize{537, 385}));
  EXPECT_EQ(scale.FontHeight(9.75), 13);
  // A DPI the system cannot report falls back to the design instead of shrinking to nothing.
  EXPECT_EQ(DpiScale(0).Length(537), 537);
  EXPECT_EQ(DpiScale(-5).Rect({1, 2, 3, 4}), (DesignRect{1, 2, 3, 4}));
}

TEST(DpiScale, OtherDpisScaleByTheRatioRoundingHalvesAway) {
  const DpiScale large(144);  // 150 %
  EXPECT_EQ(large.Size({537, 385}), (DesignSize{806, 578}));
  EXPECT_EQ(large.Rect({304, 12, 95, 22}), (DesignRect{456, 18, 143, 33}));
  EXPECT_EQ(large.Length(-8), -12);
  EXPECT_EQ(large.Length(-1), -2);        // -1.5 rounds away from zero
  EXPECT_EQ(large.FontHeight(9.75), 19);  // 19.5 pixels: text must not outgrow its label
  const DpiScale medium(120);             // 125 %
  EXPECT_EQ(medium.Size({313, 73}), (DesignSize{391, 91}));
  EXPECT_EQ(medium.FontHeight(9.75), 16);  // 16.25 pixels
  EXPECT_EQ(DpiScale(192).Rect({13, 13, 13, 13}), (DesignRect{26, 26, 26, 26}));
  EXPECT_EQ(DpiScale(192).FontHeight(9.75), 26);
}

TEST(DpiScale, ScaledLayoutKeepsNeighboursTouching) {
  for (int dpi : {120, 144, 168, 192}) {
    const auto row = DpiScale(dpi).Layout(kHeaderRow);
    for (size_t i = 1; i < row.size(); ++i) {
      // Overlapping cells still overlap (by at least a pixel) and never leave a gap.
      EXPECT_LT(row[i].x, row[i - 1].x + row[i - 1].width) << dpi << " cell " << i;
      EXPECT_EQ(row[i].y, row[0].y);
      EXPECT_EQ(row[i].height, row[0].height);
    }
    // The last cell still ends where the list does.
    const DesignRect list = DpiScale(dpi).Rect({12, 60, 509, 186});
    EXPECT_EQ(row.back().x + row.back().width, list.x + list.width) << dpi;
  }
}

TEST(CentredOffset, CentresNarrowAndWideCaptionsAlike) {
  EXPECT_EQ(CentredOffset(41, 41), 0);
  EXPECT_EQ(CentredOffset(57, 37), 10);
  EXPECT_EQ(CentredOffset(57, 38), 9);  // the odd pixel goes right
  // Wider than the cell: negative, clipped equally on both sides.
  EXPECT_EQ(CentredOffset(41, 61), -10);
  EXPECT_EQ(CentredOffset(41, 62), -11);
  // An odd difference drops the half pixel towards the left for both signs, so a caption one pixel
  // wider than another never jumps by more than that pixel.
  EXPECT_EQ(CentredOffset(41, 60), -10);
  EXPECT_EQ(CentredOffset(41, 59), -9);
  EXPECT_EQ(CentredOffset(41, 40), 0);
}

}  // namespace
}  // namespace norv
