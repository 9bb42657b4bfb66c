// Norv.exe unzipped where its user cannot write (C:\Program Files for a standard user). The folder
// is made by read_only_folder.sh before these tests run and holds Norv.exe, Norvane.html, Norv.ini
// with option 0 set, Norv.e01 with Alpha at (300, 200) and saved.ppx with Alpha at (500, 300) and
// Beta at (600, 300).
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include "core/win32/wide_text.h"
#include "layout/recording_views.h"
#include "layout/restore_dialog.h"
#include "layout/save_dialog.h"
#include "mainwindow/headless_main_window_view.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/main_window_view.h"
#include "resident/recording_tray_view.h"
#include "resident/resident_sequences.h"
#include "support/build_paths.h"
#include "support/child_process.h"
#include "support/program_services.h"
#include "support/resident_norv.h"
#include "support/stand_in_notification_area.h"
#include "support/test_desk.h"
#include "support/tray_menu_driver.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv {
namespace {

using wintest::DeskItem;
using wintest::ProgramServices;
using wintest::ReadFileBytes;
using wintest::TestDesk;
using wintest::TestDeskOptions;
using wintest::TestFolder;

const std::vector<DeskItem> kIcons{
    {40, 40, 0, u"Alpha"}, {140, 40, 1, u"Beta"}, {240, 40, 2, u"Gamma"}};

std::u16string FromWindowsPath(const std::wstring& path) {
  return std::u16string(path.begin(), path.end());
}

class ReadOnlyFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::u16string path = folder.path();
    if (wintest::Exists(folder / u"cannot-lock")) {
      GTEST_SKIP() << "the folder could not be made read-only on this machine";
    }
    ASSERT_EQ(folder.Names(), kFiles) << "the folder is not as read_only_folder.sh makes it";
    // Make sure it really is what the tests are about.
    const HANDLE probe = CreateFileW(Wide(folder / u"probe"), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
    ASSERT_EQ(probe, INVALID_HANDLE_VALUE) << "a file could be made in the read-only folder";
    for (const std::u16string& name : kFiles) before.push_back(ReadFileBytes(folder / name));

    desk = wintest::StartDesk(TestDeskOptions::Items(kIcons));
    ASSERT_TRUE(desk);
    ASSERT_TRUE(BeginStartup(state, program.services, path));
  }

  void TearDown() override {
    if (IsSkipped()) return;
    // Nothing was lost, changed or left behind.
    EXPECT_EQ(folder.Names(), kFiles);
    for (size_t i = 0; i < kFiles.size() && i < before.size(); ++i)
      EXPECT_EQ(ReadFileBytes(folder / kFiles[i]), before[i]) << wintest::U16ToUtf8(kFiles[i]);
  }

  std::vector<DeskItem> ItemsNow() { return wintest::ItemsNow(*desk); }

  const std::vector<std::u16string> kFiles{u"Norv.e01", u"Norv.exe", u"Norv.ini", u"Norvane.html",
                                           u"saved.ppx"};
  TestFolder folder{FromWindowsPath(wintest::WindowsPath(NORV_READ_ONLY_FOLDER))};
  std::vector<std::string> before;
  std::unique_ptr<TestDesk> desk;
  ProgramServices program;
  AppState state;
};

TEST_F(ReadOnlyFolderTest, TheStartReadsTheOptionsAndBringsBackTheLastExit) {
  EXPECT_EQ(state.options, (Options{1, 0}));
  BringBackLastExit(state, program.services);
  const std::vector<DeskItem> items = ItemsNow();
  ASSERT_EQ(items.size(), kIcons.size());
  EXPECT_EQ(items[0].x, 300);
  EXPECT_EQ(items[0].y, 200);
  EXPECT_TRUE(program.messages.shown.empty());
}

TEST_F(ReadOnlyFolderTest, SavingALayoutSaysSoAndKeepsTheOldOne) {
  for (const auto& [name, answers, message] :
       {std::tuple{u"新しい配置", std::vector<MessageAnswer>{}, kSaveFailedMessage},
        std::tuple{u"saved", std::vector<MessageAnswer>{MessageAnswer::kYes},
                   kSaveFailedKeptMessage}}) {
    SCOPED_TRACE(wintest::U16ToUtf8(name));
    test::RecordingSaveView view;
    view.name = name;
    test::RecordingList list{state.table};
    program.messages.shown.clear();
    program.messages.answers = answers;
    SaveDialog dialog(view, state, program.services, list);
    EXPECT_FALSE(dialog.SaveLayout());
    ASSERT_FALSE(program.messages.shown.empty());
    EXPECT_EQ(program.messages.shown.back().text, message);
    EXPECT_EQ(program.messages.shown.back().style, MessageStyle::kExclamation);
    // The dialog stays open, so the user can choose another folder's copy of the program.
    EXPECT_FALSE(view.unloaded);
    EXPECT_EQ(list.rows.size(), kIcons.size());
  }
}

TEST_F(ReadOnlyFolderTest, ClosingTheMainWindowSaysTheOptionsWereNotSaved) {
  HeadlessMainWindowView view;
  MainWindow window(state, program.services, view);
  window.Load();
  window.ToggleOption(1);
  window.Unload();
  ASSERT_EQ(program.messages.shown.size(), 1u);
  EXPECT_EQ(program.messages.shown[0].text, main_window_text::kOptionsNotSaved);
  // Still in force for this run.
  EXPECT_EQ(state.options.keepPositionsAtExit, 1);
}

TEST_F(ReadOnlyFolderTest, TheRestoreDialogShowsAndRestoresButCannotDelete) {
  test::RecordingRestoreView view;
  RestoreDialog dialog(view, state, program.services);
  dialog.Load();
  ASSERT_EQ(view.layoutRows.size(), 1u);
  dialog.SelectionChanged(0);
  EXPECT_EQ(view.recordRows.size(), 2u);
  dialog.RunCommand(kRestoreButton);
  const std::vector<DeskItem> items = ItemsNow();
  ASSERT_EQ(items.size(), kIcons.size());
  EXPECT_EQ(items[0].x, 500);
  EXPECT_EQ(items[1].x, 600);

  test::RecordingRestoreView again;
  RestoreDialog second(again, state, program.services);
  second.Load();
  second.SelectionChanged(0);
  second.RunCommand(kDeleteButton);
  ASSERT_EQ(program.messages.shown.size(), 1u);
  EXPECT_EQ(program.messages.shown[0].text, kDeleteFailedMessage);
}

TEST_F(ReadOnlyFolderTest, TheExitCannotRecordButStillPutsTheIconsBack) {
  DesktopListView& desktop = program.services.desktop;
  ASSERT_TRUE(desktop.SetItemPosition(0, 700, 500));
  ASSERT_TRUE(
      desktop.SetItemPosition(1, state.table.desktopRight + 50, state.table.desktopBottom + 50));
  test::RecordingTrayView tray;
  EXPECT_THROW(RunExitSequence(state, program.services, tray), test::ProgramEnded);
  EXPECT_EQ(ItemsNow(), kIcons);
}

// The program itself, started from that folder and used as a user would through its tray icon.
class ReadOnlyInstallTest : public ReadOnlyFolderTest {
 protected:
  void SetUp() override {
    ReadOnlyFolderTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    std::string error;
    std::optional<wintest::ResidentNorv> resident =
        wintest::StartResidentNorv(Wide(folder.path()), area, &error);
    ASSERT_TRUE(resident) << error;
    norv = std::move(resident->process);
    tray = resident->tray;
  }

  // Picks the n-th entry of the tray menu with the keyboard once the menu has the input.
  void Choose(int entry) {
    ASSERT_TRUE(wintest::ChooseTrayEntry(tray, entry, 10000)) << "the tray menu did not open";
  }

  wintest::StandInNotificationArea area;
  std::optional<wintest::ChildProcess> norv;
  HWND tray = nullptr;
};

TEST_F(ReadOnlyInstallTest, NorvBringsBackTheLastExitSaysTheOptionsCannotBeSavedAndPutsIconsBack) {
  // The last exit's arrangement comes back at the start.
  EXPECT_TRUE(wintest::WaitUntil([&] {
    const std::vector<DeskItem> items = ItemsNow();
    return items.size() == kIcons.size() && items[0].x == 300 && items[0].y == 200;
  })) << "Norv.e01 was not brought back";

  // Settings opens the main window; closing it tells the user the options were not saved.
  Choose(1);
  const HWND main = wintest::WaitForTopWindow(L"Norv_M", nullptr, norv->id());
  ASSERT_NE(main, nullptr) << "no main window";
  ASSERT_TRUE(wintest::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  PostMessageW(main, WM_CLOSE, 0, 0);
  const auto box = wintest::WaitForMessageBox(norv->id());
  ASSERT_TRUE(box) << "no message about the options";
  EXPECT_EQ(box->title, u"Norvane");
  EXPECT_EQ(box->text, main_window_text::kOptionsNotSaved);
  EXPECT_TRUE(wintest::PressButton(box->hwnd, IDOK));
  ASSERT_TRUE(wintest::WaitUntil([&] { return !IsWindow(main); }));

  // The exit cannot record the desktop but puts every icon back where it was at the start.
  Choose(4);
  ASSERT_TRUE(wintest::WaitUntil([&] { return !norv->running(); }));
  EXPECT_EQ(norv->WaitForExit(0), 0u);
  EXPECT_EQ(ItemsNow(), kIcons);
  EXPECT_EQ(area.Count(NIM_DELETE, tray), 1);
}

}  // namespace
}  // namespace norv
