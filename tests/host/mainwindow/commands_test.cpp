#include "layout/recording_views.h"
#include "layout/layout_file.h"
#include "main_window_fixture.h"
#include "mainwindow/icon_row.h"

namespace norv {
namespace {

class CommandTest : public test::ThreeIconsWindowTest {
 protected:
  void PutLayout(const std::u16string& name, uint32_t attributes = kAttrArchive) {
    p.files.Put(u"C:\\Norv\\" + name + u".ppx", std::string(124, ' '), attributes);
  }
  const std::vector<test::RecordingMessages::Shown>& Messages() { return p.messages.shown; }
};

TEST_F(CommandTest, ToTrayIsRefusedWhileOption1KeepsAHiddenIconThenAllowedAfterHiding) {
  SelectByUser(1);
  window.OnButtonReleased(Command::kHideSelected);
  p.state.options.keepPositionsAtExit = 1;

  window.OnButtonReleased(Command::kToTray);

  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, u"非表示ｱｲｺﾝが含まれています。");
  EXPECT_EQ(Messages()[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(Messages()[0].title, u"Norvane Error");
  EXPECT_FALSE(view.destroyed);
  EXPECT_TRUE(window.open());

  // Hiding switches option 1 off, so the next attempt closes although icons are hidden.
  window.OnButtonReleased(Command::kHideSelected);
  view.log.clear();
  window.OnButtonReleased(Command::kToTray);
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(view.log, (std::vector<std::string>{"animate close", "unload dialogs", "destroy"}));
  EXPECT_FALSE(window.open());
  EXPECT_NE(p.files.Bytes(u"C:\\Norv\\Norv.ini").find("ReCover_1= 0"), std::string::npos);
}

// The refusal follows the exit's rule (any value but 0 keeps the icons where they are), so a
// hand-edited value cannot leave an icon hidden for good without the warning.
TEST_F(CommandTest, ToTrayJudgesTheLastSnapshotAndEveryValueThatKeepsPositionsRefuses) {
  SelectByUser(0);
  window.OnButtonReleased(Command::kHideSelected);
  p.desktop.items[0].position = {10, 10};  // dragged back by hand, no snapshot since
  p.desktop.ResetCounters();
  size_t refusals = 0;
  for (const int16_t keeps : {1, 2, -1, 32767}) {
    p.state.options.keepPositionsAtExit = keeps;
    window.OnButtonReleased(Command::kToTray);
    EXPECT_EQ(Messages().size(), ++refusals) << keeps;
    EXPECT_FALSE(view.destroyed) << keeps;
  }
  EXPECT_EQ(p.desktop.finds, 0);

  p.state.options.keepPositionsAtExit = 0;
  window.OnButtonReleased(Command::kToTray);
  EXPECT_EQ(Messages().size(), refusals);
  EXPECT_TRUE(view.destroyed);
}

TEST_F(CommandTest, ToTrayClosesWithOption1OffOrNoHiddenIcon) {
  p.state.options.keepPositionsAtExit = 1;
  window.OnButtonReleased(Command::kToTray);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(view.destroyed);
}

TEST_F(CommandTest, HideAllSwitchesOption1OffAndLeavesRow0SelectedButItsButtonsOff) {
  p.state.options.keepPositionsAtExit = 1;
  view.optionChecked[1] = true;
  window.OnButtonReleased(Command::kHideAll);
  EXPECT_EQ(p.state.options.keepPositionsAtExit, 0);
  EXPECT_EQ(view.optionChecked[1], false);
  EXPECT_EQ(view.selected, 0);
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.Enabled(Command::kShowSelected));
  EXPECT_FALSE(view.preview);
}

TEST_F(CommandTest, AutoArrangeKeepsTheAllIconsButtonsAndShowsTheNewPositions) {
  // Hide one icon; arranging brings it back into view, yet buttons 2 and 3 stay as they were.
  SelectByUser(2);
  window.OnButtonReleased(Command::kHideSelected);
  ASSERT_TRUE(view.Enabled(Command::kShowAll));
  SelectByUser(0);
  p.desktop.ResetCounters();

  window.OnButtonReleased(Command::kAutoArrange);

  EXPECT_EQ(p.desktop.arranges, 1);
  EXPECT_EQ(p.desktop.finds, 1);
  EXPECT_EQ(table().hiddenCount, 0);
  EXPECT_TRUE(view.Enabled(Command::kShowAll));
  EXPECT_TRUE(view.Enabled(Command::kHideAll));
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.Enabled(Command::kShowSelected));
  EXPECT_EQ(view.selected, -1);
  EXPECT_FALSE(view.preview);
  EXPECT_EQ(view.rows[2], u" 3\t 0\t 150\t 3\t表示\t" + PadIconText(u"メモ"));
}

TEST_F(CommandTest, AutoArrangeEndsWhenTheShellDoesNotAnswerButTheDispatcherGoesOn) {
  SelectByUser(0);
  p.desktop.hung = true;
  window.OnButtonReleased(Command::kAutoArrange);
  EXPECT_EQ(p.desktop.finds, 0);
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.preview);
}

TEST_F(CommandTest, SaveRecountsLayoutsAfterTheDialogHasClosed) {
  SelectByUser(1);
  window.OnButtonReleased(Command::kSave);
  EXPECT_FALSE(view.Enabled(Command::kRestore)) << "closed without saving";
  EXPECT_EQ(view.selected, 1) << "the selection stays";
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.Enabled(Command::kShowSelected));
  EXPECT_FALSE(view.preview);

  view.saveDialog = [&](SaveDialogCaller&) {
    EXPECT_FALSE(view.Enabled(Command::kRestore)) << "counted only after the dialog";
    PutLayout(u"desk");
  };
  window.OnButtonReleased(Command::kSave);
  EXPECT_TRUE(view.Enabled(Command::kRestore));
  EXPECT_EQ(p.state.savedLayoutCount, 1);
}

TEST_F(CommandTest, SaveListsTheSnapshotItWrote) {
  p.desktop.items[1].position = {2000, 85};  // hidden since the last snapshot
  view.saveDialog = [&](SaveDialogCaller& caller) {
    test::RecordingSaveView dialogView;
    dialogView.name = u"desk";
    SaveDialog dialog(dialogView, p.state, p.services, caller);
    dialog.Load();
    EXPECT_TRUE(dialog.SaveLayout());
  };

  window.OnButtonReleased(Command::kSave);

  const std::vector<LayoutRecord> written = ReadLayoutFile(p.files, u"C:\\Norv\\desk.ppx");
  ASSERT_EQ(written.size(), 3u);
  EXPECT_EQ(written[1].x, 2000);
  EXPECT_EQ(view.rows, (std::vector<std::u16string>{IconRow(table(), 0), IconRow(table(), 1),
                                                    IconRow(table(), 2)}));
  EXPECT_EQ(view.rows[1], u" 2\t\t\t 2\t非表示\t" + PadIconText(u"PC"));
  EXPECT_TRUE(view.Enabled(Command::kRestore));
}

TEST_F(CommandTest, RestoreSnapshotsAndRefillsAfterTheDialogAndRecounts) {
  PutLayout(u"only");
  PutLayout(u"both", kAttrArchive | kAttrReadOnly);
  window.Load();
  ASSERT_TRUE(view.Enabled(Command::kRestore));
  SelectByUser(0);
  view.restoreDialog = [&] {
    p.desktop.items[1].position = {2000, 85};
    p.files.Delete(u"C:\\Norv\\only.ppx");
  };

  window.OnButtonReleased(Command::kRestore);

  EXPECT_EQ(view.rows[1], u" 2\t\t\t 2\t非表示\t" + PadIconText(u"PC"));
  EXPECT_EQ(view.selected, -1);
  EXPECT_EQ(p.state.savedLayoutCount, 0);
  EXPECT_FALSE(view.Enabled(Command::kRestore)) << "read-only + archive does not count";
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.preview);
  EXPECT_EQ(view.LogFrom("restore dialog").at(1), "clear rows");
}

TEST_F(CommandTest, TheTopRowIsTakenAtEveryReleaseAndCommand1PutsItBack) {
  SelectByUser(2);
  view.top = 2;
  window.OnButtonReleased(Command::kShowSelected);
  EXPECT_EQ(window.savedTopIndex(), 2);
  EXPECT_EQ(view.top, 2);
  view.top = 1;
  window.OnButtonReleased(Command::kAutoArrange);
  EXPECT_EQ(window.savedTopIndex(), 1);
  EXPECT_EQ(view.top, 0) << "arranging leaves the list at the top";
}

}  // namespace
}  // namespace norv
