#include "displays/display_follower.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "core/icon_table.h"
#include "support/fake_displays.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;

using test::FakeDisplays;

const DisplayConfiguration kDocked{{{u"DEL", 1920, 1200, 0, 0, 0, 96, true}}, false};
const DisplayConfiguration kLaptop{{{u"SHP", 1366, 768, 0, 0, 0, 96, true}}, false};
const std::u16string kIndex = u"C:\\Norv\\Displays\\index.txt";

struct Following {
  FakePlatform p;
  FakeDisplays displays;
  DisplayFollower follower{p.state, p.services, displays};

  explicit Following(int16_t on = 1) {
    p.state.followDisplays = on;
    p.desktop.rect = {1920, 1160};
    p.desktop.Add(u"ごみ箱", 10, 10);
    p.desktop.Add(u"メモ", 10, 90);
    p.desktop.Add(u"Work", 1500, 600);
    p.desktop.Add(u"秘密", 1970, 1210);  // hidden
    displays.configuration = kDocked;
    SnapshotDesktop(p.state.table, p.services);
  }

  // An event, then readings a second apart until the decision.
  SettleDecision ChangeTo(const DisplayConfiguration& configuration, DesktopRect area) {
    displays.configuration = configuration;
    p.desktop.rect = area;
    follower.OnDisplayEvent();
    for (int tick = 0; tick < 10; ++tick) {
      displays.now += 1000;
      const SettleDecision decision = follower.OnTick();
      if (decision != SettleDecision::kNone) return decision;
    }
    return SettleDecision::kNone;
  }
  std::vector<Point> Positions() const {
    std::vector<Point> positions;
    for (const auto& item : p.desktop.items) positions.push_back(item.position);
    return positions;
  }
  void Place(const std::vector<Point>& positions) {
    for (size_t i = 0; i < positions.size(); ++i) p.desktop.items[i].position = positions[i];
  }
};

TEST(DisplayFollowerTest, TheIconsReturnWhenTheConfigurationDoes) {
  Following f;
  ASSERT_EQ(f.ChangeTo(kDocked, {1920, 1160}), SettleDecision::kReHide);  // the start
  f.follower.Record();
  const std::vector<Point> docked = f.Positions();

  // Undocked: the shell compacts the icons while the change settles; none of that is recorded.
  f.follower.OnDisplayEvent();
  f.p.desktop.rect = {1366, 728};
  f.Place({{10, 10}, {10, 90}, {10, 170}, {1416, 778}});
  const int writesBefore = f.p.files.writes;
  f.follower.Record();
  EXPECT_EQ(f.p.files.writes, writesBefore);
  ASSERT_EQ(f.ChangeTo(kLaptop, {1366, 728}), SettleDecision::kReHide);  // not known yet
  f.follower.Record();
  const std::vector<Point> laptop = f.Positions();

  // Docked again, with an icon added and one deleted meanwhile.
  f.p.desktop.items.erase(f.p.desktop.items.begin() + 1);
  f.p.desktop.Add(u"新しい", 300, 300);
  ASSERT_EQ(f.ChangeTo(kDocked, {1920, 1160}), SettleDecision::kRestored);
  EXPECT_EQ(f.Positions(), (std::vector<Point>{docked[0], docked[2], {1970, 1210}, {300, 300}}));
  EXPECT_EQ(f.p.state.table.hiddenCount, 1);

  // The shell's desktop area is smaller now than when docked was recorded: the hidden icon goes
  // to today's corner, not to where it was.
  ASSERT_EQ(f.ChangeTo(kLaptop, {1366, 728}), SettleDecision::kRestored);
  EXPECT_EQ(f.Positions()[2], laptop[3]);
  ASSERT_EQ(f.ChangeTo(kDocked, {1800, 1000}), SettleDecision::kRestored);
  EXPECT_EQ(f.Positions()[2], (Point{1850, 1050}));

  // A new run goes on from the configuration the index names first: the same, nothing moves.
  DisplayFollower next(f.p.state, f.p.services, f.displays);
  next.OnDisplayEvent();
  f.displays.now += 4000;
  next.OnTick();
  f.displays.now += 1000;
  EXPECT_EQ(next.OnTick(), SettleDecision::kReHide);
  EXPECT_EQ(f.follower.arrangements().Entries().size(), 2u);
}

TEST(DisplayFollowerTest, NothingIsMovedOrWrittenWhenItShouldNotBe) {
  {
    SCOPED_TRACE("following off");
    Following f(0);
    EXPECT_EQ(f.ChangeTo(kDocked, {1920, 1160}), SettleDecision::kNone);
    f.follower.Record();
    EXPECT_EQ(f.p.files.writes, 0);
    EXPECT_EQ(f.displays.reads, 0);
    EXPECT_FALSE(f.p.files.directories.count(u"C:\\Norv\\Displays"));
  }
  {
    SCOPED_TRACE("an unchanged desktop is not written again");
    Following f;
    f.ChangeTo(kDocked, {1920, 1160});
    f.follower.Record();
    const int writes = f.p.files.writes;
    f.follower.Record();
    f.follower.RecordTable(f.p.state.table);
    EXPECT_EQ(f.p.files.writes, writes);
  }
  {
    SCOPED_TRACE("the shell arranges the icons itself");
    Following f;
    f.ChangeTo(kDocked, {1920, 1160});
    f.follower.Record();
    f.ChangeTo(kLaptop, {1366, 728});
    f.Place({{5, 5}, {5, 80}, {5, 160}, {1416, 778}});
    f.displays.autoArranged = true;
    f.p.desktop.ResetCounters();
    EXPECT_EQ(f.ChangeTo(kDocked, {1920, 1160}), SettleDecision::kReHide);
    EXPECT_EQ(f.p.desktop.moves, 0);
  }
  {
    SCOPED_TRACE("a damaged arrangement file is skipped, the index kept");
    Following f;
    f.ChangeTo(kDocked, {1920, 1160});
    f.follower.Record();
    f.ChangeTo(kLaptop, {1366, 728});
    f.p.files.Put(u"C:\\Norv\\Displays\\1.ppx", "short");
    f.p.desktop.ResetCounters();
    EXPECT_EQ(f.ChangeTo(kDocked, {1920, 1160}), SettleDecision::kReHide);
    EXPECT_EQ(f.p.desktop.moves, 0);
    EXPECT_EQ(f.follower.arrangements().Entries().size(), 1u);
  }
}

}  // namespace
}  // namespace norv
