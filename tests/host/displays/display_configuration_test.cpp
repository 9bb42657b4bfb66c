#include "displays/display_configuration.h"

#include <gtest/gtest.h>

#include "support/fake_services.h"

namespace norv {
namespace {

using test::Utf8;

const MonitorInfo kLaptop{u"SHP:1515|\\\\?\\DISPLAY#SHP1515#4&1", 2560, 1440, 0, 0, 0, 120, true};
const MonitorInfo kDellLeft{u"DEL:4058|\\\\?\\DISPLAY#DEL4058#5&2", 1920, 1200, -1920, 0, 0, 144};
const MonitorInfo kDellRight{u"DEL:4058|\\\\?\\DISPLAY#DEL4058#5&3", 1920, 1200, 2560, 0, 0, 144};

DisplayConfiguration Of(std::vector<MonitorInfo> monitors, bool remote = false) {
  return {std::move(monitors), remote};
}

MonitorInfo With(MonitorInfo m, void (*change)(MonitorInfo&)) {
  change(m);
  return m;
}

TEST(DisplayConfigurationTest, TheKeyIgnoresOrderAndTellsEveryOtherDifference) {
  const std::u16string docked = ConfigurationKey(Of({kLaptop, kDellLeft, kDellRight}));
  EXPECT_EQ(ConfigurationKey(Of({kDellRight, kLaptop, kDellLeft})), docked);

  struct Row {
    const char* what;
    DisplayConfiguration other;
  };
  const Row rows[] = {
      {"a monitor fewer", Of({kLaptop, kDellLeft})},
      {"remote session", Of({kLaptop, kDellLeft, kDellRight}, true)},
      {"other DPI",
       Of({With(kLaptop, [](MonitorInfo& m) { m.dpi = 144; }), kDellLeft, kDellRight})},
      {"other resolution",
       Of({With(kLaptop, [](MonitorInfo& m) { m.width = 1920; }), kDellLeft, kDellRight})},
      {"rotated",
       Of({kLaptop, kDellLeft, With(kDellRight, [](MonitorInfo& m) { m.orientation = 90; })})},
      // The same two monitors swapped over: each identity now at the other's place.
      {"identical twins swapped",
       Of({kLaptop, With(kDellLeft, [](MonitorInfo& m) { m.identity = kDellRight.identity; }),
           With(kDellRight, [](MonitorInfo& m) { m.identity = kDellLeft.identity; })})},
  };
  for (const Row& row : rows) EXPECT_NE(ConfigurationKey(row.other), docked) << row.what;

  // Two monitors of one model and no device path to tell them apart: still two, by position.
  MonitorInfo twinA = kDellLeft;
  MonitorInfo twinB = kDellRight;
  twinA.identity = twinB.identity = u"DEL:4058";
  const std::u16string twins = ConfigurationKey(Of({kLaptop, twinA, twinB}));
  EXPECT_EQ(ConfigurationKey(Of({twinB, kLaptop, twinA})), twins);
  EXPECT_NE(ConfigurationKey(Of({kLaptop, twinA})), twins);
}

TEST(DisplayConfigurationTest, TheLabelNamesTheMainMonitorFirst) {
  EXPECT_EQ(Utf8(ConfigurationLabel(Of({kDellRight, kLaptop}))),
            "2 台: 2560×1440 125% (メイン) + 1920×1200 150%");
  EXPECT_EQ(Utf8(ConfigurationLabel(
                Of({With(kLaptop, [](MonitorInfo& m) { m.orientation = 90; })}, true))),
            "1 台: 2560×1440 125% 90° (メイン) (リモート)");
}

TEST(DisplayConfigurationTest, TheTestDescriptionReadsOrIsRefused) {
  const auto parsed =
      ParseConfigurationText("A 1024 768 0 0 0 96 main\r\nB 800 600 1024 0 90 120\nremote\n");
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->monitors.size(), 2u);
  EXPECT_TRUE(parsed->monitors[0].main);
  EXPECT_EQ(parsed->monitors[1].orientation, 90);
  EXPECT_EQ(parsed->monitors[1].dpi, 120);
  EXPECT_TRUE(parsed->remoteSession);
  for (const char* bad : {"", "A 1024 768", "A 1024 768 0 0 0 96 primary", "remote\n"})
    EXPECT_FALSE(ParseConfigurationText(bad)) << bad;
}

}  // namespace
}  // namespace norv
