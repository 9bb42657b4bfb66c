#include "core/win32/folder_view/desktop_bridge.h"

#include <gtest/gtest.h>

#include "core/icon_moves.h"
#include "core/icon_table.h"
#include "core/win32/list_view_desktop.h"
#include "folderview/fake_explorer.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakeExplorer;

IconTable Snapshot(DesktopListView& desktop) {
  test::FakePlatform platform;
  Services services{desktop,           platform.files,      platform.profile,
                    platform.messages, platform.programEnd, platform.pause};
  IconTable table;
  EXPECT_TRUE(SnapshotDesktop(table, services));
  return table;
}

// What both ways must agree on; image indexes name different image lists and are left out.
void ExpectSameDesktop(const IconTable& a, const IconTable& b) {
  EXPECT_EQ(a.itemCount, b.itemCount);
  EXPECT_EQ(a.texts, b.texts);
  EXPECT_EQ(a.positions, b.positions);
  EXPECT_EQ(a.states, b.states);
  EXPECT_EQ(a.shownCount, b.shownCount);
  EXPECT_EQ(a.hiddenCount, b.hiddenCount);
  EXPECT_EQ(a.desktopRight, b.desktopRight);
  EXPECT_EQ(a.desktopBottom, b.desktopBottom);
}

// A Japanese desktop in Explorer's hands, reached both ways.
struct Desktop {
  FakeExplorer explorer;
  ListViewDesktop listView;
  DesktopBridge bridge{listView, [this] { return listView.handle(); }, explorer.Shell()};

  Desktop() {
    explorer.Add(u"ごみ箱", 10, 10);
    explorer.Add(u"マイ コンピュータ", 10, 90);
    explorer.Add(u"あいうえおかきくけこさしすせそたちつてと", 1074, 818);
    explorer.Add(u"ﾒﾓ帳", -8, 250);
    explorer.Add(u"ﾒﾓ帳", 1024, 768);
    explorer.Select(3, true);
  }
};

TEST(DesktopBridgeTest, BothWaysGiveTheSameTableAndExplorersViewIsChosen) {
  Desktop d;
  const IconTable byMessages = Snapshot(d.listView);
  FolderViewDesktop folderView(d.explorer.Shell());
  const IconTable byFolderView = Snapshot(folderView);
  ExpectSameDesktop(byMessages, byFolderView);
  EXPECT_EQ(byMessages.hiddenCount, 1);

  const IconTable byBridge = Snapshot(d.bridge.desktop());
  EXPECT_EQ(d.bridge.path(), DesktopPath::kFolderView);
  ExpectSameDesktop(byMessages, byBridge);

  // Moves and arranging then go to Explorer's view.
  ASSERT_TRUE(d.bridge.desktop().SetItemPosition(0, 1074, 818));
  ASSERT_EQ(d.explorer.moves.size(), 1u);
  EXPECT_EQ(d.explorer.PositionOf(0).x, 1074);
  ASSERT_TRUE(d.bridge.desktop().ArrangeIcons());
  EXPECT_FALSE(d.explorer.folderFlagChanges.empty());
}

TEST(DesktopBridgeTest, AFolderViewFailingAtAnyStepLeavesTheListViewWithTheSameTable) {
  for (FakeExplorer::Step step : FakeExplorer::AllSteps()) {
    Desktop d;
    const IconTable expected = Snapshot(d.listView);
    d.explorer.failAt = step;
    const IconTable table = Snapshot(d.bridge.desktop());
    EXPECT_EQ(d.bridge.path(), DesktopPath::kListView) << FakeExplorer::Name(step);
    ExpectSameDesktop(expected, table);

    // Moves take the list view's way; Explorer's view is not asked.
    EXPECT_TRUE(d.bridge.desktop().SetItemPosition(1, 600, 400)) << FakeExplorer::Name(step);
    EXPECT_EQ(d.explorer.PositionOf(1).x, 600) << FakeExplorer::Name(step);
    EXPECT_TRUE(d.explorer.moves.empty()) << FakeExplorer::Name(step);
    EXPECT_EQ(d.explorer.liveObjects, 0) << FakeExplorer::Name(step);
  }
}

TEST(DesktopBridgeTest, AFolderViewOfSomeOtherWindowIsNotUsed) {
  Desktop d;
  // Another shell's view: a window of its own that does not hold the desktop's list view.
  const HWND other = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_POPUP, 0, 0, 640, 480, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  d.explorer.reportedViewWindow = other;
  Snapshot(d.bridge.desktop());
  EXPECT_EQ(d.bridge.path(), DesktopPath::kListView);

  // Nor is a window inside the list view: it must hold the list view, not sit in it. (Each case
  // is another Explorer: what a find reached is kept while its window lives.)
  d.explorer.Restart();
  const HWND inside =
      CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD, 0, 0, 10, 10, d.explorer.listView(),
                      nullptr, GetModuleHandleW(nullptr), nullptr);
  d.explorer.reportedViewWindow = inside;
  Snapshot(d.bridge.desktop());
  EXPECT_EQ(d.bridge.path(), DesktopPath::kListView);

  // The shell view may also be the list view itself.
  d.explorer.Restart();
  d.explorer.reportedViewWindow = d.explorer.listView();
  Snapshot(d.bridge.desktop());
  EXPECT_EQ(d.bridge.path(), DesktopPath::kFolderView);
  DestroyWindow(other);
}

TEST(DesktopBridgeTest, TheSnapshotAfterAnExplorerRestartReachesTheNewExplorer) {
  Desktop d;
  Snapshot(d.bridge.desktop());
  ASSERT_EQ(d.bridge.path(), DesktopPath::kFolderView);
  d.explorer.Restart();
  // Between the restart and the next snapshot a move cannot be delivered, and says so.
  EXPECT_FALSE(d.bridge.desktop().SetItemPosition(0, 300, 300));

  const IconTable table = Snapshot(d.bridge.desktop());
  EXPECT_EQ(d.bridge.path(), DesktopPath::kFolderView);
  EXPECT_EQ(d.bridge.folderView().ViewWindow(), d.explorer.defView());
  EXPECT_EQ(table.texts[1], PadIconText(u"マイ コンピュータ"));
  EXPECT_TRUE(d.bridge.desktop().SetItemPosition(0, 300, 300));
  EXPECT_EQ(d.explorer.PositionOf(0).x, 300);
}

TEST(DesktopBridgeTest, ACommandThatMeetsARestartedExplorerMovesTheIconsOfTheNewOne) {
  Desktop d;
  test::FakePlatform platform;
  Services services{d.bridge.desktop(), platform.files,      platform.profile,
                    platform.messages,  platform.programEnd, platform.pause};
  IconTable table;
  ASSERT_TRUE(SnapshotDesktop(table, services));
  ASSERT_EQ(d.bridge.path(), DesktopPath::kFolderView);
  d.explorer.Restart();

  // As hide all plans its moves: every icon of the desktop to its hiding point.
  const MoveOutcome moved = MoveIcons(
      table, services,
      [](const IconTable& now) {
        std::vector<IconMove> moves;
        for (int32_t i = 0; i < now.itemCount; ++i) moves.push_back({i, now.HidingPoint()});
        return moves;
      },
      OnNewDesktop::kPlanAgain);
  EXPECT_TRUE(moved.desktopReplaced);
  EXPECT_TRUE(moved.allDelivered);
  EXPECT_EQ(d.bridge.path(), DesktopPath::kFolderView);
  for (int i = 0; i < d.explorer.Count(); ++i) {
    EXPECT_EQ(d.explorer.PositionOf(i).x, table.HidingPoint().x) << i;
    EXPECT_EQ(d.explorer.PositionOf(i).y, table.HidingPoint().y) << i;
  }
}

// Under Wine the system's own shell objects do not lead to the desktop list view of the test, so
// the list-view way must be chosen and must read the desktop as it is.
TEST(DesktopBridgeTest, WithTheSystemShellOnATestDesktopTheListViewIsUsed) {
  Desktop d;
  const IconTable expected = Snapshot(d.listView);
  DesktopBridge system(d.listView, [&d] { return d.listView.handle(); });
  const IconTable table = Snapshot(system.desktop());
  EXPECT_EQ(system.path(), DesktopPath::kListView);
  ExpectSameDesktop(expected, table);
  RecordProperty("system folder view reached",
                 system.folderView().ViewWindow() != nullptr ? "yes" : "no");
}

}  // namespace
}  // namespace norv
