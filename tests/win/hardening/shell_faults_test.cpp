// The shell's desktop going away and coming back, as an Explorer restart or crash does, against the
// program's Windows half on the test desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "core/icon_table.h"
#include "core/settings.h"
#include "layout/layout_file.h"
#include "layout/recording_views.h"
#include "layout/save_dialog.h"
#include "resident/recording_tray_view.h"
#include "resident/resident_sequences.h"
#include "support/build_paths.h"
#include "support/program_services.h"
#include "support/test_desk.h"

namespace norv {
namespace {

using wintest::DeskItem;
using wintest::ItemsNow;
using wintest::ProgramServices;
using wintest::StartDesk;
using wintest::TestDesk;
using wintest::TestDeskOptions;
using wintest::TestFolder;

const std::vector<DeskItem> kIcons{
    {40, 40, 0, u"ごみ箱"}, {140, 40, 1, u"メモ帳"}, {240, 40, 2, u"資料"}, {40, 140, 3, u"ｹﾞｰﾑ"}};

// Brings the vanished desktop back while the snapshot waits to look again, as a restarting shell
// that is quick enough does.
class ShellReturnsDuringTheWait : public Pause {
 public:
  explicit ShellReturnsDuringTheWait(TestDesk& desk) : desk_(desk) {}
  void Wait(int milliseconds) override {
    waited += milliseconds;
    if (!returned) returned = desk_.Appear();
  }
  bool returned = false;
  int waited = 0;

 private:
  TestDesk& desk_;
};

// Looks again as often as the program does, without its seconds of waiting for a new desktop.
class BriefPause : public Pause {
 public:
  void Wait(int) override { Sleep(10); }
};

TEST(ShellRestartTest, TheNextCommandAfterARestartWorksOnTheNewDesktop) {
  const auto desk = StartDesk(TestDeskOptions::Items(kIcons));
  ASSERT_TRUE(desk);
  ProgramServices program;
  AppState state;
  state.table.firstSnapshotPending = true;
  ASSERT_TRUE(SnapshotDesktop(state.table, program.services));
  const HWND oldView = desk->ListView();

  // Between two commands the shell goes and comes back with new windows.
  ASSERT_TRUE(desk->Restart(0));
  ASSERT_TRUE(desk->WaitForListView());
  ASSERT_NE(desk->ListView(), oldView);

  // Hide an icon, as the hide command does: move, then snapshot.
  DesktopListView& desktop = program.services.desktop;
  EXPECT_TRUE(desktop.FindDesktopListView());
  ASSERT_TRUE(
      desktop.SetItemPosition(1, state.table.desktopRight + 50, state.table.desktopBottom + 50));
  ASSERT_TRUE(SnapshotDesktop(state.table, program.services));
  EXPECT_EQ(state.table.hiddenCount, 1);
  EXPECT_EQ(state.table.states[1], IconState::kHidden);
  EXPECT_TRUE(program.messages.shown.empty());

  // The start-up positions outlive the restart and put the icon back on the new desktop.
  ASSERT_EQ(state.table.initialPositions.size(), kIcons.size());
  EXPECT_TRUE(desktop.SetItemPosition(1, state.table.initialPositions[1].x,
                                      state.table.initialPositions[1].y));
  EXPECT_EQ(ItemsNow(*desk), kIcons);
}

TEST(ShellRestartTest, ASnapshotDuringTheRestartWaitsForTheNewDesktopInsteadOfEnding) {
  const auto desk = StartDesk(TestDeskOptions::Items(kIcons));
  ASSERT_TRUE(desk);
  ShellReturnsDuringTheWait pause(*desk);
  ProgramServices program(pause);
  AppState state;
  state.table.firstSnapshotPending = true;
  ASSERT_TRUE(desk->Vanish());

  // Ending here would lose the start-up positions that hidden icons need to come back.
  ASSERT_TRUE(SnapshotDesktop(state.table, program.services));
  EXPECT_TRUE(pause.returned);
  EXPECT_TRUE(program.messages.shown.empty());
  EXPECT_EQ(state.table.itemCount, static_cast<int32_t>(kIcons.size()));
  EXPECT_EQ(state.table.initialPositions.size(), kIcons.size());
  EXPECT_LT(pause.waited, 1000);
}

TEST(ShellRestartTest, ADesktopWithoutIconsStillEndsWithTheMessageWellWithinASecond) {
  for (const bool viewExists : {true, false}) {
    SCOPED_TRACE(viewExists ? "empty desktop" : "no desktop at all");
    const auto desk = StartDesk(TestDeskOptions::Empty());
    ASSERT_TRUE(desk);
    if (!viewExists) {
      ASSERT_TRUE(desk->Vanish());
    }
    ASSERT_TRUE(desk->ResetCounts());
    ProgramServices program;
    IconTable table;
    EXPECT_THROW(SnapshotOrEndForNoIcons(table, program.services), test::ProgramEnded);

    ASSERT_EQ(program.messages.shown.size(), 1u);
    EXPECT_EQ(program.messages.shown[0].text, kNoIconsMessage);
    EXPECT_EQ(program.messages.shown[0].style, MessageStyle::kExclamation);
    EXPECT_EQ(program.messages.shown[0].title, kMessageTitle);
    // It did look again, and not for long.
    EXPECT_GE(program.ownPause.count(), 1);
    EXPECT_LT(program.ownPause.total(), 1000);
    const auto report = desk->Report();
    ASSERT_TRUE(report);
    // Each look asks the view for its count once; without a view nothing is asked.
    EXPECT_EQ(report->RequestCount(LVM_GETITEMCOUNT),
              viewExists ? static_cast<uint32_t>(program.ownPause.count() + 1) : 0u);
  }
}

// A shell that dies part-way through a snapshot, cut at every kind of request: the count, a
// position, a text, the first and the last icon.
TEST(ShellVanishesMidSnapshotTest, NothingIsWrittenFromHalfASnapshotAndTheProgramGoesOn) {
  const auto desk = StartDesk(TestDeskOptions::Items(kIcons));
  ASSERT_TRUE(desk);
  TestFolder folder;
  // The view never comes back by itself here: every wait for a new one is in vain.
  BriefPause pause;
  ProgramServices program(pause);
  AppState state;
  ASSERT_TRUE(BeginStartup(state, program.services, folder.path()));
  const IconTable whole = state.table;
  const std::string lastExit = wintest::LayoutRecordBytes("earlier", 1, 2);
  ASSERT_TRUE(wintest::WriteFileBytes(folder / u"Norv.e01", lastExit));
  ASSERT_TRUE(wintest::WriteFileBytes(folder / u"kept.ppx", lastExit));

  const uint32_t requestsOfAWholeSnapshot = 1 + 2 * static_cast<uint32_t>(kIcons.size());
  for (uint32_t cut : {1u, 2u, 3u, 4u, requestsOfAWholeSnapshot - 1}) {
    SCOPED_TRACE("the view stops answering after " + std::to_string(cut) + " requests");
    ASSERT_TRUE(desk->VanishAfterRequests(cut));

    // The exit: no half picture replaces the last exit's file, and the program still ends.
    test::RecordingTrayView tray;
    EXPECT_THROW(RunExitSequence(state, program.services, tray), test::ProgramEnded);
    EXPECT_EQ(wintest::ReadFileBytes(folder / u"Norv.e01"), lastExit);
    EXPECT_EQ(tray.iconRemoves, 1);
    EXPECT_EQ(state.table.positions, whole.positions);
    EXPECT_EQ(state.table.texts, whole.texts);

    // Saving over a layout then: refused with a message, the old file kept.
    ASSERT_TRUE(desk->Appear());
    ASSERT_TRUE(desk->WaitForListView());
    ASSERT_TRUE(desk->VanishAfterRequests(cut));
    test::RecordingSaveView view;
    view.name = u"kept";
    test::RecordingList list{state.table};
    program.messages.answers = {MessageAnswer::kYes};
    program.messages.shown.clear();
    SaveDialog dialog(view, state, program.services, list);
    EXPECT_FALSE(dialog.SaveLayout());
    ASSERT_FALSE(program.messages.shown.empty());
    EXPECT_EQ(program.messages.shown.back().text, kSnapshotFailedMessage);
    EXPECT_EQ(wintest::ReadFileBytes(folder / u"kept.ppx"), lastExit);
    EXPECT_EQ(folder.Names(), (std::vector<std::u16string>{u"Norv.e01", u"kept.ppx"}));
    // The list still shows the last whole picture.
    EXPECT_EQ(list.rows.size(), kIcons.size());

    // The shell comes back and the program carries on with it.
    ASSERT_TRUE(desk->Appear());
    ASSERT_TRUE(desk->WaitForListView());
    ASSERT_TRUE(SnapshotDesktop(state.table, program.services));
    EXPECT_EQ(state.table.itemCount, static_cast<int32_t>(kIcons.size()));
    EXPECT_EQ(state.table.initialPositions, whole.initialPositions);
  }
}

}  // namespace
}  // namespace norv
