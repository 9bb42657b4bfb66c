#include "chrome/tile_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace norv {
namespace {

std::set<int> Columns(const std::vector<Point>& origins) {
  std::set<int> xs;
  for (const Point& p : origins) xs.insert(p.x);
  return xs;
}

std::vector<int> RowsOfColumn(const std::vector<Point>& origins, int x) {
  std::vector<int> ys;
  for (const Point& p : origins) {
    if (p.x == x) ys.push_back(p.y);
  }
  return ys;
}

TEST(TileOrigins, MainWindowPanelGetsSevenColumnsOfSixTilesDrawnColumnByColumn) {
  const auto origins = TileOrigins(537, 385, 96, 96);
  ASSERT_EQ(origins.size(), 42u);
  EXPECT_EQ(Columns(origins), (std::set<int>{0, 96, 192, 288, 384, 480, 576}));
  for (int x : Columns(origins)) {
    EXPECT_EQ(RowsOfColumn(origins, x), (std::vector<int>{0, 96, 192, 288, 384, 480})) << x;
  }
  // Column by column from the top-left corner.
  EXPECT_EQ(origins[0], (Point{0, 0}));
  EXPECT_EQ(origins[5], (Point{0, 480}));
  EXPECT_EQ(origins[6], (Point{96, 0}));
  EXPECT_EQ(origins.back(), (Point{576, 480}));
}

TEST(TileOrigins, ComparisonsAreStrictAndMadeAfterDrawing) {
  // 192 high: the tile at 192 does not start below the edge, so one more follows at 288.
  const auto tall = TileOrigins(300, 192, 96, 96);
  for (int x : Columns(tall)) EXPECT_EQ(RowsOfColumn(tall, x), (std::vector<int>{0, 96, 192, 288}));
  // Exactly one tile wide still gets columns at 0, 96 and 192.
  EXPECT_EQ(Columns(TileOrigins(96, 10, 96, 96)), (std::set<int>{0, 96, 192}));
  // Narrower than a tile: two columns, the second wholly clipped.
  const auto narrow = TileOrigins(53, 49, 96, 96);
  EXPECT_EQ(Columns(narrow), (std::set<int>{0, 96}));
  EXPECT_EQ(RowsOfColumn(narrow, 0), (std::vector<int>{0, 96}));
}

TEST(TileOrigins, ScaledTilesAndDegenerateSizes) {
  // At 144 DPI the tile is 144 and the panel 806 × 578: columns up to the first past 806.
  const auto scaled = TileOrigins(806, 578, 144, 144);
  EXPECT_EQ(Columns(scaled), (std::set<int>{0, 144, 288, 432, 576, 720, 864}));
  EXPECT_EQ(RowsOfColumn(scaled, 0), (std::vector<int>{0, 144, 288, 432, 576, 720}));
  EXPECT_TRUE(TileOrigins(100, 100, 0, 96).empty());
  EXPECT_TRUE(TileOrigins(100, 100, 96, -1).empty());
  EXPECT_EQ(TileOrigins(0, 0, 96, 96), (std::vector<Point>{{0, 0}, {0, 96}, {96, 0}, {96, 96}}));
}

}  // namespace
}  // namespace norv
