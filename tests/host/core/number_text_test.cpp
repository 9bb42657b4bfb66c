#include "core/number_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/desktop_list_view.h"

namespace norv {
namespace {

TEST(NumberTextTest, OneSignPositionSpaceOrMinus) {
  EXPECT_EQ(NumberText(0), u" 0");
  EXPECT_EQ(NumberText(1), u" 1");
  EXPECT_EQ(NumberText(-8), u"-8");
  EXPECT_EQ(NumberText(1074), u" 1074");
  EXPECT_EQ(NumberText(-32768), u"-32768");
  EXPECT_EQ(NumberText(std::numeric_limits<int64_t>::min()), u"-9223372036854775808");
}

TEST(PackPositionTest, EachCoordinateTravelsAs16BitTwosComplement) {
  EXPECT_EQ(PackPosition(10, 20), 0x0014000Au);
  EXPECT_EQ(PackPosition(-3, 5), 0x0005FFFDu);
  EXPECT_EQ(PackPosition(1074, 818), 0x03320432u);
  EXPECT_EQ(PackPosition(-1, -32768), 0x8000FFFFu);
}

}  // namespace
}  // namespace norv
