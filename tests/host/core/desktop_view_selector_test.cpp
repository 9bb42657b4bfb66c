#include "core/desktop_view_selector.h"

#include <gtest/gtest.h>

#include <map>

#include "core/icon_table.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::SimulatedDesktop;

// Windows as a parent map; the ids stay as set even when a path finds nothing, so a test shows
// that a path which failed its find is never asked for its window.
class ScriptedWindows : public DesktopWindows {
 public:
  WindowId listView = 0;
  WindowId folderView = 0;
  std::map<WindowId, WindowId> parents;

  WindowId ListViewWindow() override { return listView; }
  WindowId FolderViewWindow() override { return folderView; }
  bool IsSameOrAncestor(WindowId outer, WindowId inner) override {
    for (WindowId w = inner; w != 0; w = parents.count(w) ? parents[w] : 0) {
      if (w == outer) return true;
    }
    return false;
  }
};

// Explorer's desktop: DefView 20 holds list view 21; the folder view reports DefView.
struct TwoPaths {
  SimulatedDesktop folder;
  SimulatedDesktop list;
  ScriptedWindows windows;
  DesktopViewSelector selector{folder, list, windows};
  test::FakePlatform platform;
  Services services{selector,          platform.files,      platform.profile,
                    platform.messages, platform.programEnd, platform.pause};
  IconTable table;

  TwoPaths() {
    // The same icons; the folder view reports them elsewhere so a table shows its source.
    folder.Add(u"ごみ箱", 10, 10);
    folder.Add(u"メモ", 10, 90);
    list.Add(u"ごみ箱", 500, 10);
    list.Add(u"メモ", 500, 90);
    windows.listView = 21;
    windows.folderView = 20;
    windows.parents = {{21, 20}, {20, 10}};
  }
  bool Snapshot() { return SnapshotDesktop(table, services); }
};

TEST(DesktopViewSelectorTest, FolderViewHoldingTheFoundListViewIsUsedForReadsMovesAndArranging) {
  TwoPaths t;
  ASSERT_TRUE(t.Snapshot());
  EXPECT_EQ(t.selector.path(), DesktopPath::kFolderView);
  EXPECT_EQ(t.table.positions, (std::vector<Point>{{10, 10}, {10, 90}}));
  EXPECT_EQ(t.list.positionReads + t.list.labelReads, 0);

  const int finds = t.folder.finds + t.list.finds;
  EXPECT_TRUE(t.selector.SetItemPosition(1, 1074, 818));
  EXPECT_TRUE(t.selector.ArrangeIcons());
  EXPECT_EQ(t.folder.moveLog,
            (std::vector<std::pair<int32_t, uint32_t>>{{1, PackPosition(1074, 818)}}));
  EXPECT_EQ(t.folder.arranges, 1);
  EXPECT_EQ(t.list.moves + t.list.arranges, 0);
  // Moves use the last find; they never look the desktop up again.
  EXPECT_EQ(t.folder.finds + t.list.finds, finds);
}

TEST(DesktopViewSelectorTest, ABatchEndsWhereItBeganAndALoneEndRepairsTheListView) {
  TwoPaths t;
  ASSERT_TRUE(t.Snapshot());
  ASSERT_EQ(t.selector.path(), DesktopPath::kFolderView);
  t.list.painting = false;  // a run killed inside a batch on the list view
  t.selector.EndMoveBatch();
  EXPECT_TRUE(t.list.painting);
  EXPECT_EQ(t.folder.batchEnds, 0);

  // A find between a batch's begin and its end that changes the way does not move its end.
  t.selector.BeginMoveBatch();
  t.windows.folderView = 30;
  ASSERT_TRUE(t.Snapshot());
  ASSERT_EQ(t.selector.path(), DesktopPath::kListView);
  t.selector.EndMoveBatch();
  EXPECT_EQ(t.folder.batchBegins, 1);
  EXPECT_EQ(t.folder.batchEnds, 1);
  EXPECT_EQ(t.list.batchEnds, 1);
}

TEST(DesktopViewSelectorTest, FolderViewWhoseWindowIsTheListViewItselfIsUsed) {
  TwoPaths t;
  t.windows.folderView = 21;
  ASSERT_TRUE(t.Snapshot());
  EXPECT_EQ(t.selector.path(), DesktopPath::kFolderView);
}

TEST(DesktopViewSelectorTest, FolderViewOfAnotherWindowIsNotUsed) {
  for (WindowId other : {WindowId{30}, WindowId{0}}) {
    TwoPaths t;
    // A folder view inside the list view (not holding it) is no better than an unrelated one.
    t.windows.parents[30] = 21;
    t.windows.folderView = other;
    ASSERT_TRUE(t.Snapshot());
    EXPECT_EQ(t.selector.path(), DesktopPath::kListView) << other;
    EXPECT_EQ(t.table.positions, (std::vector<Point>{{500, 10}, {500, 90}}));
    EXPECT_TRUE(t.selector.SetItemPosition(0, 3, 4));
    EXPECT_TRUE(t.selector.ArrangeIcons());
    EXPECT_EQ(t.list.moves, 1);
    EXPECT_EQ(t.list.arranges, 1);
    EXPECT_EQ(t.folder.moves + t.folder.arranges, 0);
  }
}

TEST(DesktopViewSelectorTest, UnreachableFolderViewFallsBackToTheListView) {
  TwoPaths t;
  t.folder.present = false;
  ASSERT_TRUE(t.Snapshot());
  EXPECT_EQ(t.selector.path(), DesktopPath::kListView);
  EXPECT_EQ(t.table.texts[1], PadIconText(u"メモ"));
  EXPECT_EQ(t.table.positions[1], (Point{500, 90}));
  EXPECT_TRUE(t.platform.messages.shown.empty());
}

TEST(DesktopViewSelectorTest, EverySnapshotChoosesAnewAcrossAnExplorerRestart) {
  TwoPaths t;
  ASSERT_TRUE(t.Snapshot());
  ASSERT_EQ(t.selector.path(), DesktopPath::kFolderView);

  // Explorer is gone: the folder view cannot be reached, the list view is still found.
  t.folder.present = false;
  ASSERT_TRUE(t.Snapshot());
  EXPECT_EQ(t.selector.path(), DesktopPath::kListView);
  EXPECT_TRUE(t.selector.SetItemPosition(0, 7, 7));
  EXPECT_EQ(t.list.moves, 1);

  // The new Explorer has new windows; the folder view leads to the new list view again.
  t.folder.present = true;
  t.windows.listView = 41;
  t.windows.folderView = 40;
  t.windows.parents[41] = 40;
  ASSERT_TRUE(t.Snapshot());
  EXPECT_EQ(t.selector.path(), DesktopPath::kFolderView);
  EXPECT_TRUE(t.selector.SetItemPosition(0, 8, 8));
  EXPECT_EQ(t.folder.moves, 1);
}

TEST(DesktopViewSelectorTest, AFolderViewFailingPartWayKeepsTheTableAndTheNextSnapshotFallsBack) {
  TwoPaths t;
  ASSERT_TRUE(t.Snapshot());
  t.folder.failPositionReadAt = t.folder.positionReads + 1;
  EXPECT_FALSE(t.Snapshot());
  EXPECT_EQ(t.table.positions, (std::vector<Point>{{10, 10}, {10, 90}}));

  t.folder.present = false;
  ASSERT_TRUE(t.Snapshot());
  EXPECT_EQ(t.table.positions, (std::vector<Point>{{500, 10}, {500, 90}}));
}

TEST(DesktopViewSelectorTest, AFolderViewAloneIsNotTakenForTheDesktop) {
  TwoPaths t;
  t.list.present = false;
  EXPECT_THROW(t.Snapshot(), test::ProgramEnded);
  EXPECT_EQ(t.selector.path(), DesktopPath::kListView);
  EXPECT_EQ(t.folder.positionReads, 0);
  ASSERT_EQ(t.platform.messages.shown.size(), 1u);
  EXPECT_EQ(t.platform.messages.shown[0].text, kNoIconsMessage);
}

}  // namespace
}  // namespace norv
