#include "core/win32/folder_view/folder_view_desktop.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "core/icon_moves.h"
#include "core/icon_table.h"
#include "folderview/fake_explorer.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakeExplorer;

// A snapshot through one desktop view, with the host fakes for everything else.
struct Snapshotter {
  test::FakePlatform platform;
  IconTable table;

  Services With(DesktopListView& desktop) {
    return Services{desktop,           platform.files,      platform.profile,
                    platform.messages, platform.programEnd, platform.pause};
  }
  bool Take(DesktopListView& desktop) {
    Services services = With(desktop);
    return SnapshotDesktop(table, services);
  }
};

// 20 double-byte characters: 40 bytes, the last does not fit in 39.
const std::u16string kLongKanji = u"あいうえおかきくけこさしすせそたちつてと";
// 38 single bytes then a double-byte character that would straddle byte 39.
const std::u16string kStraddling = u"abcdefghijklmnopqrstuvwxyz0123456789AB漢";

TEST(FolderViewDesktopTest, ReadsTheViewInItsOrderWithNormalNamesCutAsTheListViewDoes) {
  FakeExplorer explorer;
  explorer.Add(u"ごみ箱", 10, 10, 31);
  explorer.Add(kLongKanji, 10, 90, 4);
  explorer.Add(kStraddling, -8, 170, 5);
  explorer.Add(u"ﾒﾓ帳", 1074, 818, 6);
  // A selected icon must not move to the front of the view's order.
  explorer.Select(2, true);
  FolderViewDesktop desktop(explorer.Shell());
  Snapshotter s;
  ASSERT_TRUE(s.Take(desktop));

  const IconTable& t = s.table;
  ASSERT_EQ(t.itemCount, 4);
  EXPECT_EQ(t.texts[0], PadIconText(u"ごみ箱"));
  EXPECT_EQ(TrimTrailingSpaces(t.texts[1]), kLongKanji.substr(0, 19));
  EXPECT_EQ(TrimTrailingSpaces(t.texts[2]), kStraddling.substr(0, 38));
  EXPECT_EQ(t.texts[3], PadIconText(u"ﾒﾓ帳"));
  EXPECT_EQ(t.positions, (std::vector<Point>{{10, 10}, {10, 90}, {-8, 170}, {1074, 818}}));
  EXPECT_EQ(t.imageIndexes, (std::vector<int32_t>{31, 4, 5, 6}));
  EXPECT_EQ(t.desktopRight, 1024);
  EXPECT_EQ(t.desktopBottom, 768);
  EXPECT_EQ(t.states, (std::vector<IconState>{IconState::kShown, IconState::kShown,
                                              IconState::kShown, IconState::kHidden}));
  EXPECT_EQ(desktop.ViewWindow(), explorer.defView());
  // Names are answered in our own process, one per icon.
  EXPECT_EQ(explorer.nameRequests, 4);
}

TEST(FolderViewDesktopTest, ASnapshotCostsOneRequestToExplorerPerIconPlusAFixedNumber) {
  auto requestsFor = [](int icons) {
    FakeExplorer explorer;
    for (int i = 0; i < icons; ++i) explorer.Add(u"icon", 10, 10 + 80 * i);
    FolderViewDesktop desktop(explorer.Shell());
    Snapshotter s;
    EXPECT_TRUE(s.Take(desktop));
    return explorer.requests;
  };
  const int few = requestsFor(4);
  const int many = requestsFor(24);
  EXPECT_EQ(many - few, 20);
  EXPECT_LE(few, 4 + 16);
}

TEST(FolderViewDesktopTest, AWholeCommandCostsAFixedNumberOfCallsAndOnePerIconForItsSnapshot) {
  // As show all runs: every icon back to its start-up place, then a snapshot.
  auto overheadFor = [](int icons) {
    FakeExplorer explorer;
    for (int i = 0; i < icons; ++i) explorer.Add(u"icon", 10, 10 + 80 * i);
    explorer.Select(1, true);
    FolderViewDesktop desktop(explorer.Shell());
    Snapshotter s;
    s.table.firstSnapshotPending = true;
    EXPECT_TRUE(s.Take(desktop));
    ListView_SetItemPosition32(explorer.listView(), icons - 1, 600, 500);  // dragged by the user
    const int before = explorer.requests;
    Services services = s.With(desktop);
    EXPECT_TRUE(MoveIcons(s.table, services, MovesToStartupPositions, OnNewDesktop::kGoOnByIndex)
                    .allDelivered);
    EXPECT_TRUE(s.Take(desktop));
    EXPECT_EQ(explorer.PositionOf(icons - 1).y, 10 + 80 * (icons - 1));
    EXPECT_TRUE(explorer.IsSelected(1));
    return explorer.requests - before - icons;
  };
  EXPECT_EQ(overheadFor(40), overheadFor(4));
}

TEST(FolderViewDesktopTest, MovesGoInOneCallPerSelectionStateAndLeaveEverySelectionAsItWas) {
  FakeExplorer explorer;
  explorer.Add(u"selected", 10, 10);
  explorer.Add(u"plain", 10, 90);
  explorer.Add(u"bystander", 10, 170);
  explorer.Select(0, true);
  explorer.Select(2, true);
  FolderViewDesktop desktop(explorer.Shell());
  ASSERT_TRUE(desktop.FindDesktopListView());

  // The list-view message carries 16 bits; this way keeps the whole coordinate.
  const std::vector<IconMove> moves{
      {0, {5, 5}}, {1, {-5, 100}}, {2, {40000, 20}}, {0, {1074, 818}}};
  const int before = explorer.requests;
  EXPECT_EQ(desktop.MoveItems(moves), moves.size());
  // The selection's count and ids (asked for, the enumerator's interface, one Next), then one call
  // for the selected icons and one for the other.
  EXPECT_EQ(explorer.requests - before, 6);
  EXPECT_EQ(explorer.PositionOf(0).x, 1074);
  EXPECT_EQ(explorer.PositionOf(0).y, 818);
  EXPECT_EQ(explorer.PositionOf(1).x, -5);
  EXPECT_EQ(explorer.PositionOf(1).y, 100);
  EXPECT_EQ(explorer.PositionOf(2).x, 40000);
  EXPECT_TRUE(explorer.IsSelected(0));
  EXPECT_FALSE(explorer.IsSelected(1));
  EXPECT_TRUE(explorer.IsSelected(2));
  ASSERT_EQ(explorer.moves.size(), 3u) << "each icon once, where its last move puts it";
  for (const FakeExplorer::Move& move : explorer.moves) {
    EXPECT_TRUE(move.flags & SVSI_POSITIONITEM);
    EXPECT_EQ(move.flags & ~(SVSI_POSITIONITEM | SVSI_SELECT), 0u) << std::hex << move.flags;
  }

  // Indexes the last find did not see: refused as a list view refuses them, not undelivered.
  EXPECT_TRUE(desktop.SetItemPosition(3, 0, 0));
  EXPECT_TRUE(desktop.SetItemPosition(-1, 0, 0));
  EXPECT_EQ(explorer.moves.size(), 3u);
}

TEST(FolderViewDesktopTest, AnIconGoneSinceTheFindStopsNoneOfTheOthersMoves) {
  FakeExplorer explorer;
  for (int i = 0; i < 4; ++i) explorer.Add(u"icon", 10, 10 + 80 * i);
  FolderViewDesktop desktop(explorer.Shell());
  ASSERT_TRUE(desktop.FindDesktopListView());
  ListView_DeleteItem(explorer.listView(), 1);  // Explorer no longer knows its id

  const std::vector<IconMove> moves{
      {0, {500, 10}}, {1, {500, 90}}, {2, {500, 170}}, {3, {500, 250}}};
  EXPECT_EQ(desktop.MoveItems(moves), moves.size());
  for (int i = 0; i < explorer.Count(); ++i) EXPECT_EQ(explorer.PositionOf(i).x, 500) << i;
}

TEST(FolderViewDesktopTest, ArrangingLetsTheViewArrangeAndLeavesAutoArrangeAsTheUserHadIt) {
  FakeExplorer explorer;
  explorer.Add(u"a", 700, 500);
  explorer.Add(u"b", 300, 40);
  explorer.folderFlags = FWF_DESKTOP | FWF_NOSCROLL;
  FolderViewDesktop desktop(explorer.Shell());
  ASSERT_TRUE(desktop.FindDesktopListView());
  ASSERT_TRUE(desktop.ArrangeIcons());
  EXPECT_EQ(explorer.folderFlags, DWORD{FWF_DESKTOP | FWF_NOSCROLL});
  ASSERT_EQ(explorer.folderFlagChanges.size(), 2u);
  EXPECT_TRUE(explorer.folderFlagChanges[0] & FWF_AUTOARRANGE);
  // Arranged: both icons left the places they were put at.
  EXPECT_NE(explorer.PositionOf(0).x, 700);
  EXPECT_NE(explorer.PositionOf(1).x, 300);

  // A user who keeps auto-arrange on has an arranged desktop; the setting is not touched.
  explorer.folderFlags = FWF_DESKTOP | FWF_AUTOARRANGE;
  explorer.folderFlagChanges.clear();
  EXPECT_TRUE(desktop.ArrangeIcons());
  EXPECT_TRUE(explorer.folderFlagChanges.empty());
  EXPECT_EQ(explorer.folderFlags, DWORD{FWF_DESKTOP | FWF_AUTOARRANGE});
}

TEST(FolderViewDesktopTest, AFailureAtAnyStepFindsNothingAndHoldsNothing) {
  for (FakeExplorer::Step step : FakeExplorer::AllSteps()) {
    FakeExplorer explorer;
    explorer.Add(u"ごみ箱", 10, 10);
    explorer.failAt = step;
    FolderViewDesktop desktop(explorer.Shell());
    EXPECT_FALSE(desktop.FindDesktopListView()) << FakeExplorer::Name(step);
    EXPECT_EQ(desktop.ViewWindow(), nullptr) << FakeExplorer::Name(step);
    EXPECT_EQ(desktop.GetItemCount(), 0) << FakeExplorer::Name(step);
    EXPECT_FALSE(desktop.SetItemPosition(0, 1, 1)) << FakeExplorer::Name(step);
    EXPECT_FALSE(desktop.ArrangeIcons()) << FakeExplorer::Name(step);
    EXPECT_EQ(explorer.liveObjects, 0) << FakeExplorer::Name(step);
  }
}

TEST(FolderViewDesktopTest, AFindKeepsWhatItReachedWhileTheViewsWindowLivesAndAsksOnlyForItems) {
  FakeExplorer explorer;
  explorer.Add(u"ごみ箱", 10, 10);
  FolderViewDesktop desktop(explorer.Shell());
  ASSERT_TRUE(desktop.FindDesktopListView());
  const int firstFind = explorer.requests;
  explorer.Add(u"メモ", 10, 90);  // an icon new since

  ASSERT_TRUE(desktop.FindDesktopListView());
  EXPECT_EQ(desktop.GetItemCount(), 2);
  EXPECT_EQ(explorer.lookups, 1);
  // The count, the ids (asked for, the enumerator's interface, one Next) and the folder (asked
  // for, its interface, its location): no other call of the first find is made again.
  EXPECT_EQ(explorer.requests - firstFind, 7);
  EXPECT_LT(explorer.requests - firstFind, firstFind);
}

TEST(FolderViewDesktopTest, AnExplorerRestartFailsMovesUntilTheNextFindReachesTheNewOne) {
  FakeExplorer explorer;
  explorer.Add(u"ごみ箱", 10, 10);
  explorer.Add(u"メモ", 10, 90);
  FolderViewDesktop desktop(explorer.Shell());
  ASSERT_TRUE(desktop.FindDesktopListView());
  const int held = explorer.liveObjects;

  EXPECT_TRUE(desktop.ViewStillExists());
  explorer.Restart();
  EXPECT_FALSE(desktop.SetItemPosition(1, 500, 500));
  EXPECT_FALSE(desktop.ArrangeIcons());
  EXPECT_FALSE(desktop.ViewStillExists());

  ASSERT_TRUE(desktop.FindDesktopListView());
  EXPECT_TRUE(desktop.ViewStillExists());
  EXPECT_EQ(desktop.ViewWindow(), explorer.defView());
  EXPECT_EQ(explorer.lookups, 2);
  // The old Explorer's objects were let go, not piled up.
  EXPECT_EQ(explorer.liveObjects, held);
  EXPECT_TRUE(desktop.SetItemPosition(1, 500, 500));
  EXPECT_EQ(explorer.PositionOf(1).x, 500);
}

}  // namespace
}  // namespace norv
