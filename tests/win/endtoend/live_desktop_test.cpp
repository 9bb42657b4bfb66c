// Norv.exe with its main window open while the desktop changes under it: an icon deleted, the
// shell restarting, the shell hanging.
#include "norv_on_test_desk.h"

namespace norv::wintest {
namespace {

class LiveDesktopTest : public NorvOnTestDesk {
 protected:
  void SetUp() override {
    NorvOnTestDesk::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
  }
  // Waits until every row reads as `hidden` says, one row per icon.
  testing::AssertionResult RowsBecome(const std::vector<bool>& hidden) {
    std::vector<bool> now;
    const bool reached = WaitUntil(
        [&] {
          now.clear();
          for (const std::u16string& row : main_->Rows())
            now.push_back(row.find(u"非表示") != std::u16string::npos);
          return now == hidden;
        },
        kStepMs);
    if (reached) return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure() << "rows hidden:";
    for (const bool row : now) failure << " " << row;
    return failure;
  }
  bool AllIconsButtonsBecome(bool hideAll, bool showAll) {
    return WaitUntil(
        [&] {
          return (IsWindowEnabled(main_->Button(Command::kHideAll)) != FALSE) == hideAll &&
                 (IsWindowEnabled(main_->Button(Command::kShowAll)) != FALSE) == showAll;
        },
        kStepMs);
  }
  void ExpectNoMessageAndStillRunning() {
    const std::optional<MessageBoxView> box = WaitForMessageBox(norv_->id(), 0);
    EXPECT_FALSE(box) << U16ToUtf8(box->text);
    EXPECT_TRUE(norv_->running());
  }
};

TEST_F(LiveDesktopTest, AnIconDeletedMeanwhileStopsNeitherHideAllNorShowAll) {
  ASSERT_TRUE(desk_->DeleteItem(1));
  Click(Command::kHideAll);
  EXPECT_TRUE(DeskBecomes(std::vector<Spot>(kIcons.size() - 1, hidingPoint_)));
  EXPECT_TRUE(RowsBecome({true, true, true}));
  EXPECT_TRUE(AllIconsButtonsBecome(false, true));

  ASSERT_TRUE(desk_->DeleteItem(0));
  Click(Command::kShowAll);
  EXPECT_TRUE(RowsBecome({false, false}));
  EXPECT_TRUE(AllIconsButtonsBecome(true, false));
}

class LiveDesktopPathTest : public OnDeskPath<LiveDesktopTest> {};

TEST_P(LiveDesktopPathTest, AfterTheShellRestartedTheCommandsWorkOnTheNewDesktop) {
  const std::vector<Spot> home = StartSpots();
  ASSERT_NO_FATAL_FAILURE(SelectRow(1));
  ASSERT_TRUE(desk_->Restart(0));
  ASSERT_TRUE(desk_->WaitForListView());

  // The chosen row's index means nothing on the new desktop: nothing moves, nothing is selected.
  Click(Command::kHideSelected);
  EXPECT_TRUE(WaitUntil([&] { return main_->SelectedRow() == -1; }, kStepMs));
  main_->Settle();
  EXPECT_EQ(Spots(), home);

  Click(Command::kHideAll);
  EXPECT_TRUE(DeskBecomes(std::vector<Spot>(kIcons.size(), hidingPoint_)));
  EXPECT_TRUE(RowsBecome({true, true, true, true}));
  ExpectNoMessageAndStillRunning();
}

TEST_F(LiveDesktopTest, AShellRestartingInTheMiddleOfHideAllOrShowAllIsWaitedFor) {
  // After two moves the view goes for two seconds and comes back with the positions it had
  // before the command: the new desktop gets the whole command.
  const std::vector<Spot> hidden(kIcons.size(), hidingPoint_);
  ASSERT_TRUE(desk_->RestartAfterRequests(2, 2000));
  Click(Command::kHideAll);
  EXPECT_TRUE(DeskBecomes(hidden));
  EXPECT_TRUE(RowsBecome({true, true, true, true}));
  ExpectNoMessageAndStillRunning();

  ASSERT_TRUE(desk_->RestartAfterRequests(2, 2000));
  Click(Command::kShowAll);
  EXPECT_TRUE(DeskBecomes(StartSpots()));
  EXPECT_TRUE(RowsBecome({false, false, false, false}));
  EXPECT_TRUE(AllIconsButtonsBecome(true, false));
  ExpectNoMessageAndStillRunning();
}

TEST_F(LiveDesktopTest, AReadAnsweredAfterTheProgramGaveUpHarmsNoShellAndTheListCatchesUp) {
  // Hide all's four moves and the count of the snapshot after them go through; its first
  // position read is carried out only after the program gave up on it, into the program's block.
  ASSERT_TRUE(desk_->HangAtRequest(6, 5000));
  Click(Command::kHideAll);
  EXPECT_TRUE(DeskBecomes(std::vector<Spot>(kIcons.size(), hidingPoint_)));
  // Meanwhile the list is known to be stale: the icons can be shown again from the window.
  EXPECT_TRUE(AllIconsButtonsBecome(true, true));
  EXPECT_TRUE(RowsBecome({true, true, true, true}));
  EXPECT_TRUE(AllIconsButtonsBecome(false, true));
  const std::optional<DeskReport> report = desk_->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->lateIntoFreed, 0u) << "the shell's late answer met freed memory";
  ExpectNoMessageAndStillRunning();
}

TEST_F(LiveDesktopTest, AHungShellNeitherEndsTheProgramNorStopsTheNextCommand) {
  ASSERT_NO_FATAL_FAILURE(SelectRow(0));
  // Longer than a move's and a count's timeouts together: the command meets only silence.
  ASSERT_TRUE(desk_->Hang(9000));
  Click(Command::kHideSelected);
  ASSERT_TRUE(desk_->Report()) << "the desktop did not answer again";
  main_->Settle();
  ExpectNoMessageAndStillRunning();

  Click(Command::kHideAll);
  EXPECT_TRUE(DeskBecomes(std::vector<Spot>(kIcons.size(), hidingPoint_)));
  EXPECT_TRUE(RowsBecome({true, true, true, true}));
}

TEST_F(LiveDesktopTest, AfterAnIconWentAndTheDisplayGrewOnlyTheHiddenIconMovesPastItsNewCorner) {
  ASSERT_NO_FATAL_FAILURE(SelectRow(1));
  Click(Command::kHideSelected);
  ASSERT_TRUE(WaitUntil([&] { return SpotOf(1) == hidingPoint_; }, kStepMs));
  ASSERT_EQ(main_->SelectedRow(), 1);
  // The hidden icon takes index 0: the last snapshot's indexes now name other icons.
  ASSERT_TRUE(desk_->DeleteItem(0));

  // The display is announced first; the shell resizes its view a second later.
  const SIZE grown{hidingPoint_.x - 50 + 400, hidingPoint_.y - 50 + 300};
  ASSERT_TRUE(desk_->Resize(grown, 1000));
  std::vector<Spot> expected = StartSpots();
  expected[1] = {grown.cx + 50, grown.cy + 50};
  expected.erase(expected.begin());
  EXPECT_TRUE(DeskBecomes(expected));
  // The open window lists the snapshot taken for the new display.
  EXPECT_TRUE(WaitUntil([&] { return main_->SelectedRow() == -1; }, kStepMs));
  EXPECT_TRUE(RowsBecome({true, false, false}));
  ExpectNoMessageAndStillRunning();
}

INSTANTIATE_TEST_SUITE_P(Paths, LiveDesktopPathTest, kBothDeskPaths, DeskPathName);

}  // namespace
}  // namespace norv::wintest
