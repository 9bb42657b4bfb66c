#include "core/icon_table.h"

#include <gtest/gtest.h>

#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;

TEST(SnapshotDesktopTest, HiddenRuleIsStrictAndSigned) {
  FakePlatform p;
  p.desktop.Add(u"edge", 1024, 768);
  p.desktop.Add(u"right", 1025, 0);
  p.desktop.Add(u"below", 0, 769);
  p.desktop.Add(u"negative", -8, -3);
  p.state.table.firstSnapshotPending = true;
  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  const IconTable& t = p.state.table;
  EXPECT_EQ(t.states, (std::vector<IconState>{IconState::kShown, IconState::kHidden,
                                              IconState::kHidden, IconState::kShown}));
  EXPECT_EQ(t.shownCount, 2);
  EXPECT_EQ(t.hiddenCount, 2);
  EXPECT_EQ(t.shownCount + t.hiddenCount, t.itemCount);
  EXPECT_EQ(t.desktopRight, 1024);
  EXPECT_EQ(t.desktopBottom, 768);
}

TEST(SnapshotDesktopTest, InitialPositionsComeFromTheFirstSnapshotOnly) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 20);
  p.state.table.firstSnapshotPending = true;
  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  EXPECT_FALSE(p.state.table.firstSnapshotPending);
  p.desktop.items[0].position = {300, 400};
  p.desktop.Add(u"added later", 5, 5);
  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  EXPECT_EQ(p.state.table.positions[0], (Point{300, 400}));
  EXPECT_EQ(p.state.table.initialPositions, (std::vector<Point>{{10, 20}}));
  EXPECT_EQ(p.state.table.itemCount, 2);
}

TEST(SnapshotDesktopTest, TextsAreCutAt39BytesOnACharacterBoundaryAndPadded) {
  FakePlatform p;
  p.desktop.Add(u"ごみ箱", 0, 0);
  // 20 double-byte characters are 40 bytes: the 20th does not fit whole.
  p.desktop.Add(u"あいうえおかきくけこさしすせそたちつてと", 0, 0);
  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  EXPECT_EQ(p.state.table.texts[0], PadIconText(u"ごみ箱"));
  EXPECT_EQ(p.state.table.texts[0].size(), kIconTextWidth);
  EXPECT_EQ(TrimTrailingSpaces(p.state.table.texts[1]), u"あいうえおかきくけこさしすせそたちつて");
}

TEST(SnapshotDesktopTest, ReadsEveryIconInOneGoAfterTheCount) {
  FakePlatform p;
  for (int i = 0; i < 10; ++i) p.desktop.Add(u"icon", i, i);
  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  EXPECT_EQ(p.desktop.itemReads, 1);
  EXPECT_LE(p.desktop.CrossProcessRequests(), 2 * 10 + 1);
}

TEST(SnapshotDesktopTest, AFailurePartWayKeepsTheLastCompleteTable) {
  FakePlatform p;
  p.desktop.Add(u"a", 1, 1);
  p.desktop.Add(u"b", 2, 2);
  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  p.desktop.items[0].position = {50, 50};
  p.desktop.failLabelReadAt = p.desktop.labelReads + 1;
  EXPECT_FALSE(SnapshotDesktop(p.state.table, p.services));
  EXPECT_EQ(p.state.table.positions[0], (Point{1, 1}));
}

TEST(SnapshotDesktopTest, AFailedFirstSnapshotLeavesTheStartUpPositionsToTheNextOne) {
  FakePlatform p;
  p.desktop.Add(u"a", 1, 1);
  p.desktop.Add(u"b", 2, 2);
  p.state.table.firstSnapshotPending = true;
  p.desktop.failLabelReadAt = 0;
  EXPECT_FALSE(SnapshotDesktop(p.state.table, p.services));
  p.desktop.failPositionReadAt = p.desktop.positionReads + 1;
  EXPECT_FALSE(SnapshotDesktop(p.state.table, p.services));
  EXPECT_TRUE(p.state.table.firstSnapshotPending);
  EXPECT_TRUE(p.state.table.initialPositions.empty());
  EXPECT_EQ(p.state.table.itemCount, 0);

  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  EXPECT_EQ(p.state.table.initialPositions, (std::vector<Point>{{1, 1}, {2, 2}}));
}

TEST(SnapshotDesktopTest, NoIconsShowsTheMessageAndEndsAfterBoundedRetries) {
  FakePlatform p;
  EXPECT_THROW(SnapshotOrEndForNoIcons(p.state.table, p.services), test::ProgramEnded);
  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0].text, u"ｱｲｺﾝが見つかりませんでした。");
  EXPECT_EQ(p.messages.shown[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(p.messages.shown[0].title, u"Norvane");
  int waited = 0;
  for (int ms : p.pause.waits) waited += ms;
  EXPECT_GT(p.pause.waits.size(), 0u);
  EXPECT_LT(waited, 1000);
}

TEST(SnapshotDesktopTest, AViewThatDoesNotAnswerItsCountFailsTheSnapshotAndEndsNothing) {
  FakePlatform p;
  p.desktop.Add(u"a", 1, 1);
  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  p.desktop.hung = true;
  EXPECT_FALSE(SnapshotDesktop(p.state.table, p.services));
  EXPECT_TRUE(p.messages.shown.empty());
  EXPECT_EQ(p.state.table.itemCount, 1);
  EXPECT_TRUE(p.pause.waits.empty()) << "a view that does not answer is not asked again";
}

int TotalWait(const test::RecordingPause& pause) {
  int total = 0;
  for (int ms : pause.waits) total += ms;
  return total;
}

TEST(SnapshotDesktopTest, AViewThatWentIsWaitedForAndOnlyAViewThatAnswers0MeansNoIcons) {
  struct Case {
    const char* what;
    bool tableHoldsADesktop;  // a snapshot succeeded before the view went
    int viewBackAfterWaits;   // 0: never
    bool viewBackEmpty;
    DesktopFound found;
    int minWait, maxWait;  // milliseconds in all
  };
  for (const Case& c : std::vector<Case>{
           {"restart, new view after 2 s", true, 8, false, DesktopFound::kIcons, 1900, 2100},
           {"restart, no new view", true, 0, false, DesktopFound::kNoView, 5000, 15000},
           {"restart, the new view answers 0", true, 8, true, DesktopFound::kNoIcons, 5000, 15000},
           {"no view since start-up", false, 0, false, DesktopFound::kNoIcons, 1, 999},
           {"no view since start-up, then one", false, 1, false, DesktopFound::kIcons, 100, 100},
       }) {
    SCOPED_TRACE(c.what);
    FakePlatform p;
    p.desktop.Add(u"a", 1, 1);
    if (c.tableHoldsADesktop) {
      ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
    }
    p.desktop.items[0].position = {7, 7};
    p.desktop.replaceLeavesNoView = true;
    p.desktop.ReplaceView();
    p.pause.during = [&] {
      if (static_cast<int>(p.pause.waits.size()) != c.viewBackAfterWaits) return;
      p.desktop.present = true;
      if (c.viewBackEmpty) p.desktop.items.clear();
    };
    const SnapshotOutcome outcome = SnapshotDesktop(p.state.table, p.services);
    EXPECT_EQ(outcome.found, c.found);
    EXPECT_TRUE(p.messages.shown.empty()) << "the caller decides";
    EXPECT_GE(TotalWait(p.pause), c.minWait);
    EXPECT_LE(TotalWait(p.pause), c.maxWait);
    // Anything but a taken snapshot keeps the last complete table.
    const bool taken = c.found == DesktopFound::kIcons;
    EXPECT_EQ(p.state.table.itemCount, taken || c.tableHoldsADesktop ? 1 : 0);
    if (taken) {
      EXPECT_EQ(p.state.table.positions[0], (Point{7, 7}));
    }
  }
}

}  // namespace
}  // namespace norv
