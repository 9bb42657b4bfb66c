#include "core/desktop_list_view.h"
#include "main_window_fixture.h"
#include "mainwindow/icon_row.h"

namespace norv {
namespace {

using test::MainWindowTest;

// Four icons on a 1024 x 768 desktop; "old" was already hidden when the program started.
class ShowHideTest : public MainWindowTest {
 protected:
  void SetUp() override {
    p.desktop.Add(u"ごみ箱", 10, 10, 1);
    p.desktop.Add(u"PC", 10, 85, 2);
    p.desktop.Add(u"old", 1074, 818, 3);
    p.desktop.Add(u"メモ", 85, 10, 4);
    StartUp();
    OpenWindow();
  }
  bool RowIsHidden(size_t row) const {
    return view.rows[row].find(u"\t\t\t") != std::u16string::npos &&
           view.rows[row].find(u"非表示") != std::u16string::npos;
  }
  // Snapshots taken since the counters were reset.
  int Snapshots() const { return p.desktop.finds; }
};

TEST_F(ShowHideTest, HideSelectedMovesToTheHidingPointAndKeepsTheRowSelected) {
  SelectByUser(1);
  view.top = 1;
  view.log.clear();

  window.OnButtonReleased(Command::kHideSelected);

  ASSERT_EQ(p.desktop.moveLog.size(), 1u);
  EXPECT_EQ(p.desktop.moveLog[0].first, 1);
  EXPECT_EQ(p.desktop.moveLog[0].second, PackPosition(1074, 818));
  EXPECT_EQ(p.desktop.moveLog[0].second, 1074u | (818u << 16));
  EXPECT_EQ(Snapshots(), 1);
  EXPECT_TRUE(RowIsHidden(1));
  EXPECT_EQ(view.rows[1], IconRow(table(), 1));
  // First visible row first, then the selection with its preview, then the all-icons buttons.
  EXPECT_EQ(
      view.LogFrom("clear rows"),
      (std::vector<std::string>{"clear rows", "top 1", "select 1", "preview PC 2", "disable 0",
                                "enable 1", "enable 2", "enable 3", "option 1 unchecked"}));
  EXPECT_EQ(view.selected, 1);
  EXPECT_EQ(view.top, 1);
}

TEST_F(ShowHideTest, TwoHiddenIconsShareOnePoint) {
  SelectByUser(0);
  window.OnButtonReleased(Command::kHideSelected);
  SelectByUser(3);
  window.OnButtonReleased(Command::kHideSelected);
  EXPECT_EQ(DesktopPosition(0), DesktopPosition(3));
  EXPECT_EQ(DesktopPosition(0), (Point{1074, 818}));
  EXPECT_TRUE(RowIsHidden(0));
  EXPECT_TRUE(RowIsHidden(3));
  EXPECT_EQ(table().hiddenCount, 3);
}

TEST_F(ShowHideTest, HidingPointComesFromTheLastSnapshotNotTheCurrentScreen) {
  p.desktop.rect = {1280, 1024};
  SelectByUser(0);
  window.OnButtonReleased(Command::kHideSelected);
  EXPECT_EQ(p.desktop.moveLog[0].second, PackPosition(1074, 818));
  // The snapshot after the move reads the new size: the icon now lies inside it.
  EXPECT_EQ(table().desktopRight, 1280);
  EXPECT_FALSE(RowIsHidden(0));
}

TEST_F(ShowHideTest, ShowSelectedReturnsToTheStartPositionThenRestoresTheTopRow) {
  SelectByUser(3);
  window.OnButtonReleased(Command::kHideSelected);
  view.top = 2;
  view.log.clear();
  p.desktop.ResetCounters();

  window.OnButtonReleased(Command::kShowSelected);

  EXPECT_EQ(DesktopPosition(3), (Point{85, 10}));
  EXPECT_EQ(view.rows[3], u" 4\t 85\t 10\t 4\t表示\t" + PadIconText(u"メモ"));
  EXPECT_EQ(Snapshots(), 1);
  EXPECT_EQ(view.LogFrom("clear rows"),
            (std::vector<std::string>{"clear rows", "select 3", "preview メモ 4", "enable 0",
                                      "disable 1", "enable 2", "enable 3", "top 2"}));
}

TEST_F(ShowHideTest, ShowSelectedOnAnIconHiddenSinceStartUpLeavesItHidden) {
  SelectByUser(2);
  EXPECT_TRUE(view.Enabled(Command::kShowSelected));
  window.OnButtonReleased(Command::kShowSelected);
  EXPECT_EQ(DesktopPosition(2), (Point{1074, 818}));
  EXPECT_TRUE(RowIsHidden(2));
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_TRUE(view.Enabled(Command::kShowSelected));
}

TEST_F(ShowHideTest, WithoutASelectionNothingMovesAndNoSnapshotIsTakenButOption1IsSwitchedOff) {
  p.state.options.keepPositionsAtExit = 1;
  view.optionChecked[1] = true;
  window.OnButtonReleased(Command::kHideSelected);
  window.OnButtonReleased(Command::kShowSelected);
  EXPECT_EQ(p.desktop.moves, 0);
  EXPECT_EQ(Snapshots(), 0);
  EXPECT_TRUE(view.LogFrom("clear rows").empty());
  EXPECT_EQ(p.state.options.keepPositionsAtExit, 0);
  EXPECT_EQ(view.optionChecked[1], false);
}

TEST_F(ShowHideTest, HideSelectedGoesOnAfterAFailedMoveOrSnapshot) {
  p.desktop.failMoveAt = 0;
  SelectByUser(0);
  window.OnButtonReleased(Command::kHideSelected);
  EXPECT_EQ(Snapshots(), 1);
  EXPECT_EQ(view.rows.size(), 4u);
  EXPECT_EQ(view.selected, 0);

  p.desktop.failMoveAt.reset();
  p.desktop.failLabelReadAt = p.desktop.labelReads;
  window.OnButtonReleased(Command::kHideSelected);
  // The failed snapshot keeps the last table; the list is still rebuilt and reselected from it.
  EXPECT_FALSE(RowIsHidden(0));
  EXPECT_EQ(view.selected, 0);
  EXPECT_TRUE(view.Enabled(Command::kHideSelected));
  EXPECT_EQ(p.state.options.keepPositionsAtExit, 0);
}

TEST_F(ShowHideTest, HideAllOnAnAllHiddenDesktopMovesEveryIconAgain) {
  window.OnButtonReleased(Command::kHideAll);
  p.desktop.ResetCounters();
  view.log.clear();

  window.OnButtonReleased(Command::kHideAll);

  EXPECT_EQ(p.desktop.moves, 4);
  for (const auto& move : p.desktop.moveLog) EXPECT_EQ(move.second, PackPosition(1074, 818));
  EXPECT_EQ(table().shownCount, 0);
  EXPECT_FALSE(view.Enabled(Command::kHideAll));
  EXPECT_TRUE(view.Enabled(Command::kShowAll));
  // Row 0 stays selected, yet the selected-icon buttons are off and the preview is white.
  EXPECT_EQ(view.selected, 0);
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.Enabled(Command::kShowSelected));
  EXPECT_FALSE(view.preview);
  EXPECT_EQ(view.LogFrom("clear rows"),
            (std::vector<std::string>{"clear rows", "select 0", "preview ごみ箱 1", "disable 0",
                                      "enable 1", "disable 2", "enable 3", "disable 0", "disable 1",
                                      "clear preview", "option 1 unchecked"}));
}

TEST_F(ShowHideTest, ShowAllBringsBackHiddenAndDraggedIconsAndLeavesNoSelection) {
  window.OnButtonReleased(Command::kHideAll);
  p.desktop.items[1].position = {300, 300};  // dragged back by hand
  SelectByUser(0);

  window.OnButtonReleased(Command::kShowAll);

  EXPECT_EQ(DesktopPosition(0), (Point{10, 10}));
  EXPECT_EQ(DesktopPosition(1), (Point{10, 85}));
  EXPECT_EQ(DesktopPosition(2), (Point{1074, 818}));  // hidden at start-up
  EXPECT_EQ(DesktopPosition(3), (Point{85, 10}));
  EXPECT_EQ(view.selected, -1);
  EXPECT_FALSE(view.preview);
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.Enabled(Command::kShowSelected));
  EXPECT_TRUE(view.Enabled(Command::kHideAll));
  EXPECT_TRUE(view.Enabled(Command::kShowAll));
}

TEST_F(ShowHideTest, IconsAddedSinceStartUpAreLeftWhereTheyAre) {
  p.desktop.Add(u"new", 1200, 900, 9);
  Snapshot();
  window.RefillIconList();
  window.OnButtonReleased(Command::kShowAll);
  EXPECT_EQ(p.desktop.moves, 4);
  EXPECT_EQ(DesktopPosition(4), (Point{1200, 900}));
  EXPECT_EQ(view.rows.size(), 5u);
  EXPECT_TRUE(RowIsHidden(4));

  SelectByUser(4);
  p.desktop.ResetCounters();
  window.OnButtonReleased(Command::kShowSelected);
  EXPECT_EQ(p.desktop.moves, 0);
  EXPECT_EQ(Snapshots(), 1);
  EXPECT_EQ(view.selected, 4);
}

TEST_F(ShowHideTest, HideAllAndShowAllStopAtAnUndeliveredMoveYetShowTheDesktopAsItIs) {
  SelectByUser(0);
  p.desktop.failMoveAt = 1;
  p.state.options.keepPositionsAtExit = 1;
  window.OnButtonReleased(Command::kHideAll);
  EXPECT_EQ(p.desktop.moves, 2);
  EXPECT_EQ(Snapshots(), 1);
  EXPECT_TRUE(RowIsHidden(0)) << "moved before the failure";
  EXPECT_FALSE(RowIsHidden(1));
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.preview);
  EXPECT_EQ(p.state.options.keepPositionsAtExit, 0);

  p.desktop.ResetCounters();
  p.desktop.failMoveAt = 0;
  window.OnButtonReleased(Command::kShowAll);
  EXPECT_EQ(p.desktop.moves, 1);
  EXPECT_EQ(Snapshots(), 1);
  EXPECT_TRUE(RowIsHidden(0));
  EXPECT_FALSE(view.Enabled(Command::kShowSelected));
}

TEST_F(ShowHideTest, PreviewFollowsTheSelectedRowsState) {
  SelectByUser(2);
  EXPECT_EQ(view.preview, u"old");
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_TRUE(view.Enabled(Command::kShowSelected));
  SelectByUser(0);
  EXPECT_EQ(view.preview, u"ごみ箱");
  EXPECT_TRUE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.Enabled(Command::kShowSelected));

  // A click below the last row selects nothing and changes nothing.
  view.log.clear();
  SelectByUser(-1);
  EXPECT_EQ(view.log, (std::vector<std::string>{"select -1"}));
}

TEST(ShowHidePerformanceTest, AThousandIconsCostOneMoveEachPlusOneSnapshot) {
  test::FakePlatform p;
  test::RecordingView view;
  MainWindow window(p.state, p.services, view);
  for (int i = 0; i < 1000; ++i) p.desktop.Add(u"icon " + std::u16string(1, u'0' + i % 10), i, i);
  p.state.table.firstSnapshotPending = true;
  p.desktop.ResetCounters();
  ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services));
  const int snapshotRequests = p.desktop.CrossProcessRequests();
  window.Load();

  for (const Command command : {Command::kHideAll, Command::kShowAll}) {
    p.desktop.ResetCounters();
    window.OnButtonReleased(command);
    EXPECT_EQ(p.desktop.moves, 1000);
    EXPECT_EQ(p.desktop.CrossProcessRequests(), 1000 + snapshotRequests);
    // The moves in one batch, which the view paints once at its end.
    EXPECT_EQ(p.desktop.unpaintedMoves, 1000);
    EXPECT_EQ(p.desktop.batchEnds, 1);
    EXPECT_TRUE(p.desktop.painting);
    EXPECT_EQ(view.rows.size(), 1000u);
  }
}

}  // namespace
}  // namespace norv
