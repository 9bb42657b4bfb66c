// The main window's commands on a desktop that changed under it since the last snapshot.
#include "main_window_fixture.h"

namespace norv {
namespace {

class DesktopChangesTest : public test::ThreeIconsWindowTest {
 protected:
  // Each row's state as the list shows it.
  std::vector<bool> HiddenRows() const {
    std::vector<bool> hidden;
    for (const std::u16string& row : view.rows) hidden.push_back(row.find(u"非表示") != row.npos);
    return hidden;
  }
  void ExpectAllIconsButtons(bool hideAll, bool showAll) {
    EXPECT_EQ(view.Enabled(Command::kHideAll), hideAll);
    EXPECT_EQ(view.Enabled(Command::kShowAll), showAll);
  }
};

TEST_F(DesktopChangesTest, AllIconsCommandsGoOnPastAnIconDeletedSinceTheLastSnapshot) {
  p.desktop.items.erase(p.desktop.items.begin());
  window.OnButtonReleased(Command::kHideAll);
  EXPECT_EQ(DesktopPosition(0), (Point{1074, 818}));
  EXPECT_EQ(DesktopPosition(1), (Point{1074, 818}));
  EXPECT_EQ(HiddenRows(), (std::vector<bool>{true, true}));
  ExpectAllIconsButtons(false, true);

  p.desktop.items.erase(p.desktop.items.begin());
  window.OnButtonReleased(Command::kShowAll);
  EXPECT_EQ(HiddenRows(), (std::vector<bool>{false}));
  ExpectAllIconsButtons(true, false);
}

TEST_F(DesktopChangesTest, AfterAShellRestartHideAllHidesEveryIconOfTheNewDesktop) {
  p.desktop.ReplaceView();
  p.desktop.Add(u"新しい", 160, 10, 4);
  window.OnButtonReleased(Command::kHideAll);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(DesktopPosition(i), (Point{1074, 818})) << i;
  EXPECT_EQ(HiddenRows(), (std::vector<bool>{true, true, true, true}));
  ExpectAllIconsButtons(false, true);
  EXPECT_TRUE(p.messages.shown.empty());
}

TEST_F(DesktopChangesTest, AfterAShellRestartTheSelectedIconCommandsShowTheNewDesktopToChooseFrom) {
  for (const Command command : {Command::kHideSelected, Command::kShowSelected}) {
    SCOPED_TRACE(static_cast<int>(command));
    window.OnButtonReleased(Command::kHideAll);
    SelectByUser(1);
    // The new desktop lists the icons in another order: index 1 is another icon now.
    p.desktop.ReplaceView();
    std::swap(p.desktop.items[0], p.desktop.items[1]);
    p.desktop.ResetCounters();

    window.OnButtonReleased(command);

    EXPECT_EQ(p.desktop.moves, 1) << "only the one that met the new desktop";
    EXPECT_TRUE(view.rows[0].ends_with(PadIconText(p.desktop.items[0].text)))
        << test::Utf8(view.rows[0]);
    EXPECT_EQ(view.selected, -1);
    EXPECT_FALSE(view.preview);
    EXPECT_FALSE(view.Enabled(Command::kHideSelected));
    EXPECT_FALSE(view.Enabled(Command::kShowSelected));
    window.OnButtonReleased(Command::kShowAll);
  }
}

TEST_F(DesktopChangesTest, AShellThatDoesNotAnswerNeitherEndsTheProgramNorEmptiesTheList) {
  const std::vector<std::u16string> rows = view.rows;
  p.desktop.hung = true;
  for (const Command command : {Command::kHideSelected, Command::kShowSelected, Command::kHideAll,
                                Command::kShowAll, Command::kAutoArrange, Command::kRestore}) {
    SCOPED_TRACE(static_cast<int>(command));
    SelectByUser(0);
    p.desktop.ResetCounters();
    window.OnButtonReleased(command);
    EXPECT_LE(p.desktop.moves + p.desktop.arranges, 1);
    EXPECT_EQ(view.rows, rows);
  }
  EXPECT_TRUE(p.messages.shown.empty());
  EXPECT_FALSE(view.destroyed);

  p.desktop.hung = false;
  window.OnButtonReleased(Command::kHideAll);
  EXPECT_EQ(HiddenRows(), (std::vector<bool>{true, true, true}));
}

TEST_F(DesktopChangesTest, AStaleListIsReadAgainOnTheTimerOnceTheShellAnswers) {
  // The moves are delivered, the snapshot after them is not answered.
  p.desktop.failPositionReadAt = p.desktop.positionReads + 1;
  window.OnButtonReleased(Command::kHideAll);
  EXPECT_EQ(HiddenRows(), (std::vector<bool>{false, false, false}));
  // The old counts say nothing is hidden; the user must still be able to show the icons.
  ExpectAllIconsButtons(true, true);
  ASSERT_TRUE(view.retryTimer);

  p.desktop.failPositionReadAt.reset();
  p.desktop.hung = true;
  p.desktop.ResetCounters();
  window.OnRetryTimer();
  EXPECT_EQ(p.desktop.positionReads, 0) << "a shell that does not answer is not read";
  EXPECT_EQ(HiddenRows(), (std::vector<bool>{false, false, false}));

  p.desktop.hung = false;
  window.OnRetryTimer();
  EXPECT_EQ(HiddenRows(), (std::vector<bool>{true, true, true}));
  ExpectAllIconsButtons(false, true);
  EXPECT_FALSE(view.retryTimer);
  EXPECT_FALSE(window.tableStale());
}

TEST_F(DesktopChangesTest, TheTimerGivesUpAfterAWhileAndTheNextCommandReadsAgain) {
  p.desktop.hung = true;
  window.OnButtonReleased(Command::kShowAll);
  int ticks = 0;
  while (view.retryTimer && ticks < 100) {
    window.OnRetryTimer();
    ++ticks;
  }
  EXPECT_GT(ticks, 5);
  EXPECT_LT(ticks, 100);
  EXPECT_TRUE(window.tableStale());
  ExpectAllIconsButtons(true, true);

  p.desktop.hung = false;
  window.OnButtonReleased(Command::kShowAll);
  EXPECT_FALSE(window.tableStale());
  ExpectAllIconsButtons(true, false);
}

TEST_F(DesktopChangesTest, AfterTheDisplayChangedTheWindowListsTheSnapshotTakenForIt) {
  SelectByUser(0);
  p.desktop.rect = {80, 768};  // narrower: "メモ" at x 85 now lies beyond it
  Snapshot();
  window.ShowOutsideChange();
  EXPECT_EQ(HiddenRows(), (std::vector<bool>{false, false, true}));
  ExpectAllIconsButtons(true, true);
  EXPECT_EQ(view.selected, -1);
  EXPECT_FALSE(view.preview);
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
}

}  // namespace
}  // namespace norv
