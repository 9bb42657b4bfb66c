#include "core/settings.h"
#include "main_window_fixture.h"
#include "mainwindow/icon_row.h"

namespace norv {
namespace {

using test::MainWindowTest;

class LoadTest : public MainWindowTest {
 protected:
  void PutLayout(const std::u16string& name, uint32_t attributes) {
    p.files.Put(u"C:\\Norv\\" + name + u".ppx", std::string(124, ' '), attributes);
  }
};

TEST_F(LoadTest, ListsTheLastSnapshotWithoutTakingOneAndEndsWithTheAnimation) {
  p.desktop.Add(u"a", 10, 10, 1);
  p.desktop.Add(u"b", 2000, 10, 2);
  StartUp();
  p.desktop.items[0].position = {500, 500};  // moved since: listed at the old place
  p.desktop.ResetCounters();
  PutLayout(u"home", kAttrArchive);

  window.Load();

  EXPECT_TRUE(window.open());
  EXPECT_EQ(p.desktop.finds, 0);
  EXPECT_EQ(view.rows, (std::vector<std::u16string>{IconRow(table(), 0), IconRow(table(), 1)}));
  EXPECT_EQ(view.selected, -1);
  EXPECT_FALSE(view.preview);
  EXPECT_FALSE(view.Enabled(Command::kHideSelected));
  EXPECT_FALSE(view.Enabled(Command::kShowSelected));
  EXPECT_TRUE(view.Enabled(Command::kHideAll));
  EXPECT_TRUE(view.Enabled(Command::kShowAll));
  EXPECT_TRUE(view.Enabled(Command::kRestore));
  EXPECT_EQ(p.state.savedLayoutCount, 1);
  EXPECT_EQ(view.log.back(), "animate open");
}

TEST_F(LoadTest, WhenNoSnapshotHasSucceededYetTheWindowTakesTheFirstOne) {
  p.desktop.Add(u"a", 10, 10, 1);
  p.desktop.failLabelReadAt = 0;
  StartUp(/*expectSuccess=*/false);
  p.desktop.items[0].position = {20, 20};

  window.Load();

  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(table().initialPositions, (std::vector<Point>{{20, 20}}));
}

TEST_F(LoadTest, EnabledStatesFollowTheCounts) {
  p.desktop.Add(u"a", 2000, 10);
  p.desktop.Add(u"b", 10, 900);
  StartUp();
  window.Load();
  EXPECT_FALSE(view.Enabled(Command::kHideAll)) << "all hidden";
  EXPECT_TRUE(view.Enabled(Command::kShowAll));
  EXPECT_FALSE(view.Enabled(Command::kRestore)) << "no saved layouts";

  p.desktop.items[0].position = {0, 0};
  p.desktop.items[1].position = {0, 75};
  Snapshot();
  window.Load();
  EXPECT_TRUE(view.Enabled(Command::kHideAll)) << "all shown";
  EXPECT_FALSE(view.Enabled(Command::kShowAll));
}

TEST_F(LoadTest, OnlyLayoutsWithNoneArchiveOrReadOnlyAttributesCount) {
  p.desktop.Add(u"a", 0, 0);
  StartUp();
  PutLayout(u"both", kAttrArchive | kAttrReadOnly);
  window.Load();
  EXPECT_EQ(p.state.savedLayoutCount, 0);
  EXPECT_FALSE(view.Enabled(Command::kRestore));

  PutLayout(u"plain", kAttrNone);
  PutLayout(u"locked", kAttrReadOnly);
  PutLayout(u"archived", kAttrArchive);
  p.files.Put(u"C:\\Norv\\notes.txt", "x", kAttrArchive);
  window.Load();
  EXPECT_EQ(p.state.savedLayoutCount, 3);
  EXPECT_TRUE(view.Enabled(Command::kRestore));
}

class OptionTest : public MainWindowTest {
 protected:
  void SetUp() override {
    p.desktop.Add(u"a", 0, 0);
    StartUp();
  }
};

TEST_F(OptionTest, CheckBoxesShowTheOptionsAndToggleWithXor) {
  p.state.options = {1, 0};
  window.Load();
  EXPECT_EQ(view.optionChecked[0], true);
  EXPECT_EQ(view.optionChecked[1], false);

  window.ToggleOption(0);
  EXPECT_EQ(p.state.options.restoreLastExit, 0);
  EXPECT_EQ(view.optionChecked[0], false);
  window.ToggleOption(0);
  EXPECT_EQ(p.state.options.restoreLastExit, 1);
  EXPECT_EQ(view.optionChecked[0], true);
  window.ToggleOption(1);
  EXPECT_EQ(p.state.options.keepPositionsAtExit, 1);
  EXPECT_EQ(view.optionChecked[1], true);
  // Toggling only changes memory.
  EXPECT_FALSE(p.files.Has(u"C:\\Norv\\Norv.ini"));
}

TEST_F(OptionTest, ValuesOtherThanZeroAndOneKeepThePictureShown) {
  p.state.options = {2, -5};
  window.Load();
  EXPECT_FALSE(view.optionChecked[0]) << "the designed picture stays";
  EXPECT_FALSE(view.optionChecked[1]);

  view.optionChecked[0] = false;
  window.ToggleOption(0);
  EXPECT_EQ(p.state.options.restoreLastExit, 3);
  EXPECT_EQ(view.optionChecked[0], false);
  window.ToggleOption(0);
  EXPECT_EQ(p.state.options.restoreLastExit, 2);
  window.ToggleOption(1);
  EXPECT_EQ(p.state.options.keepPositionsAtExit, -6);
}

TEST_F(OptionTest, UnloadWritesBothOptionsClearsTheFlagAndUnloadsTheDialogsOnce) {
  p.state.options = {0, 1};
  window.Load();
  view.log.clear();

  window.Unload();

  const std::string ini = p.files.Bytes(u"C:\\Norv\\Norv.ini");
  EXPECT_NE(ini.find("[Section]"), std::string::npos);
  EXPECT_NE(ini.find("ReCover_0= 0"), std::string::npos);
  EXPECT_NE(ini.find("ReCover_1= 1"), std::string::npos);
  EXPECT_FALSE(window.open());
  EXPECT_EQ(view.log, (std::vector<std::string>{"unload dialogs", "destroy"}));
  EXPECT_TRUE(p.messages.shown.empty());

  // A second close request (close box after the window went) does nothing more.
  const int writes = p.files.writes;
  window.Unload();
  EXPECT_EQ(p.files.writes, writes);
  EXPECT_EQ(view.log.size(), 2u);
}

TEST_F(OptionTest, AFailedSettingsWriteIsReportedAndLosesNothing) {
  p.files.Put(u"C:\\Norv\\Norv.ini", "[Section]\r\nReCover_0= 1\r\nReCover_1= 0\r\n");
  p.state.options = {1, 0};
  window.Load();
  window.ToggleOption(1);
  p.files.readOnlyFolder = true;

  window.Unload();

  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(p.messages.shown[0].title, u"Norvane");
  EXPECT_NE(p.messages.shown[0].text.find(u"Norv.ini"), std::u16string::npos);
  // The window still goes, the option stays in memory and the old file is intact.
  EXPECT_TRUE(view.destroyed);
  EXPECT_FALSE(window.open());
  EXPECT_EQ(p.state.options.keepPositionsAtExit, 1);
  EXPECT_EQ(p.files.Bytes(u"C:\\Norv\\Norv.ini"), "[Section]\r\nReCover_0= 1\r\nReCover_1= 0\r\n");

  // The next close writes what the user chose.
  p.files.readOnlyFolder = false;
  test::RecordingView next;
  MainWindow reopened(p.state, p.services, next);
  reopened.Load();
  reopened.Unload();
  EXPECT_NE(p.files.Bytes(u"C:\\Norv\\Norv.ini").find("ReCover_1= 1"), std::string::npos);
}

}  // namespace
}  // namespace norv
