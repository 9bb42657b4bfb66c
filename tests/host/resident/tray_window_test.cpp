#include "resident/tray_window.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "recording_tray_view.h"
#include "resident/resident_sequences.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;
using test::ProgramEnded;
using test::RecordingTrayView;

constexpr uint32_t kLeftButtonDown = 0x0201;
constexpr uint32_t kLeftDoubleClick = 0x0203;
constexpr uint32_t kRightButtonUp = 0x0205;
constexpr uint32_t kMouseMove = 0x0200;

struct Started {
  FakePlatform p;
  RecordingTrayView view;
  TrayWindow tray{p.state, p.services, view};

  Started() {
    p.desktop.Add(u"a", 10, 10);
    p.desktop.Add(u"b", 10, 90);
    BeginStartup(p.state, p.services, u"C:\\Norv");
    tray.Start();
  }
};

TEST(TrayWindowTest, OnlyARightButtonPressOpensTheMenu) {
  Started s;
  for (uint32_t message : {kMouseMove, kLeftButtonDown, kLeftDoubleClick, kRightButtonUp})
    s.tray.OnTrayMouse(message);
  EXPECT_EQ(s.view.menusShown, 0);
  s.tray.OnTrayMouse(kRightButtonDown);
  EXPECT_EQ(s.view.menusShown, 1);
}

TEST(TrayWindowTest, NothingReactsWhileTheMainWindowIsOpen) {
  Started s;
  s.view.menuChoice = TrayCommand::kSettings;
  s.tray.OnTrayMouse(kRightButtonDown);
  ASSERT_EQ(s.view.mainWindowOpens, 1);
  s.view.mainWindowOpen = true;  // what the main window's load does
  s.tray.OnTrayMouse(kRightButtonDown);
  s.tray.Run(TrayCommand::kExit);
  EXPECT_EQ(s.view.menusShown, 1);
  EXPECT_EQ(s.view.mainWindowOpens, 1);
  EXPECT_TRUE(s.view.IconPresent());
}

TEST(TrayWindowTest, AClickThatArrivesWhileTheProgramWaitsOnTheShellOpensNothing) {
  Started s;
  s.view.insideOtherWork = true;  // a command's request to the shell is out
  s.tray.OnTrayMouse(kRightButtonDown);
  EXPECT_EQ(s.view.menusShown, 0);
  s.view.insideOtherWork = false;
  s.tray.OnTrayMouse(kRightButtonDown);
  EXPECT_EQ(s.view.menusShown, 1);
}

TEST(TrayWindowTest, SettingsRecordsTheCursorOrTheOriginWhenItCannotBeRead) {
  Started s;
  s.view.cursor = Point{1500, -20};
  s.tray.Run(TrayCommand::kSettings);
  EXPECT_EQ(s.view.mainWindowOpenedFrom->x, 1500);
  EXPECT_EQ(s.view.mainWindowOpenedFrom->y, -20);
  s.view.cursor.reset();
  s.tray.Run(TrayCommand::kSettings);
  EXPECT_EQ(s.view.mainWindowOpenedFrom->x, 0);
  EXPECT_EQ(s.view.mainWindowOpenedFrom->y, 0);
  EXPECT_EQ(s.view.mainWindowOpens, 2);
}

TEST(TrayWindowTest, RestoreSnapshotsWhateverTheUserDidInTheDialog) {
  Started s;
  // Restoring moves an icon; a cancelled dialog would move none, and both end in a snapshot.
  s.view.duringRestoreDialog = [&] { s.p.desktop.SetItemPosition(1, 1074, 818); };
  s.view.menuChoice = TrayCommand::kRestore;
  s.tray.OnTrayMouse(kRightButtonDown);
  EXPECT_EQ(s.view.restoreDialogs, 1);
  EXPECT_EQ(s.p.state.table.positions[1], (Point{1074, 818}));
  EXPECT_EQ(s.p.state.table.hiddenCount, 1);
}

TEST(TrayWindowTest, PressesWhileTheRestoreDialogIsOpenAreIgnored) {
  Started s;
  s.view.duringRestoreDialog = [&] {
    s.view.menuChoice = TrayCommand::kExit;
    s.tray.OnTrayMouse(kRightButtonDown);
    s.tray.Run(TrayCommand::kExit);
  };
  s.view.menuChoice = TrayCommand::kRestore;
  s.tray.OnTrayMouse(kRightButtonDown);
  EXPECT_EQ(s.view.menusShown, 1);
  EXPECT_TRUE(s.view.IconPresent());
  // Once the dialog is gone the tray answers again.
  s.view.duringRestoreDialog = nullptr;
  s.view.menuChoice = TrayCommand::kNone;
  s.tray.OnTrayMouse(kRightButtonDown);
  EXPECT_EQ(s.view.menusShown, 2);
}

TEST(TrayWindowTest, HelpOpensThePageBesideTheProgram) {
  Started s;
  s.p.files.Put(u"C:\\Norv\\Norvane.html", "<html>");
  s.tray.Run(TrayCommand::kHelp);
  EXPECT_EQ(s.view.documents, (std::vector<std::u16string>{u"C:\\Norv\\Norvane.html"}));
  EXPECT_TRUE(s.p.messages.shown.empty());
}

TEST(TrayWindowTest, HelpThatCannotBeShownSaysSo) {
  Started s;
  s.tray.Run(TrayCommand::kHelp);
  EXPECT_TRUE(s.view.documents.empty());
  ASSERT_EQ(s.p.messages.shown.size(), 1u);
  EXPECT_EQ(s.p.messages.shown[0].text, kHelpMissingMessage);
  EXPECT_EQ(s.p.messages.shown[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(s.p.messages.shown[0].title, u"Norvane");

  s.p.files.Put(u"C:\\Norv\\Norvane.html", "<html>");
  s.view.documentOpens = false;
  s.tray.Run(TrayCommand::kHelp);
  ASSERT_EQ(s.p.messages.shown.size(), 2u);
  EXPECT_EQ(s.p.messages.shown[1].text, kHelpNotOpenedMessage);
}

TEST(TrayWindowTest, UnloadRemovesTheIconAndEndsWithoutTouchingTheDesktop) {
  Started s;
  s.p.desktop.SetItemPosition(0, 1074, 818);
  s.p.desktop.ResetCounters();
  EXPECT_THROW(s.tray.Unload(), ProgramEnded);
  EXPECT_FALSE(s.view.IconPresent());
  EXPECT_EQ(s.p.desktop.moves, 0);
  EXPECT_FALSE(s.p.files.Has(u"C:\\Norv\\Norv.e01"));
}

TEST(TrayWindowTest, RestartedShellGetsTheIconAgain) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  RecordingTrayView view;
  TrayWindow tray(p.state, p.services, view);
  tray.OnShellRestarted();  // before start-up there is no icon to bring back
  EXPECT_EQ(view.iconAdds, 0);
  BeginStartup(p.state, p.services, u"C:\\Norv");
  tray.Start();
  tray.OnShellRestarted();
  tray.OnShellRestarted();
  EXPECT_EQ(view.iconAdds, 3);
  EXPECT_THROW(tray.Unload(), ProgramEnded);
  tray.OnShellRestarted();
  EXPECT_EQ(view.iconAdds, 3);
}

TEST(TrayWindowTest, AnIconTheShellRefusesIsTriedAgainEveryFewSecondsForAWhile) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  RecordingTrayView view;
  TrayWindow tray(p.state, p.services, view);
  view.addsToRefuse = 3;  // the notification area is not ready at logon
  BeginStartup(p.state, p.services, u"C:\\Norv");
  tray.Start();
  EXPECT_EQ(view.timers[TrayTimer::kIconRetry], kIconRetryMilliseconds);
  tray.OnTimer(TrayTimer::kIconRetry);
  tray.OnTimer(TrayTimer::kIconRetry);
  EXPECT_FALSE(view.IconPresent());
  tray.OnTimer(TrayTimer::kIconRetry);
  EXPECT_TRUE(view.IconPresent());
  EXPECT_FALSE(view.Running(TrayTimer::kIconRetry));

  // A notification area that never takes it: the retries end, and its announcement starts anew.
  view.addsToRefuse = 1000;
  tray.OnShellRestarted();
  for (int tick = 0; tick < kIconRetries && view.Running(TrayTimer::kIconRetry); ++tick)
    tray.OnTimer(TrayTimer::kIconRetry);
  EXPECT_FALSE(view.Running(TrayTimer::kIconRetry));
  EXPECT_EQ(view.refusedAdds, 3 + 1 + kIconRetries);
  tray.OnShellRestarted();
  EXPECT_TRUE(view.Running(TrayTimer::kIconRetry));
  EXPECT_EQ(view.iconAdds, 1);
}

// One shown and one hidden icon on a 1024 x 768 desktop; the display is about to change.
struct DisplayChange : Started {
  DisplayChange() {
    p.desktop.SetItemPosition(1, 1074, 818);
    SnapshotDesktop(p.state.table, p.services);
    p.desktop.ResetCounters();
  }
  void Check() { tray.OnTimer(TrayTimer::kDisplayCheck); }
  Point At(size_t icon) const { return p.desktop.items[icon].position; }
};

TEST(TrayWindowTest, AfterTheDisplayGrewHiddenIconsFollowItsNewCornerOnceTheViewHasGrown) {
  DisplayChange d;
  d.tray.OnDisplayChanged();
  EXPECT_EQ(d.view.timers[TrayTimer::kDisplayCheck], kDisplayCheckMilliseconds);
  d.Check();  // the shell has not resized its view yet
  EXPECT_EQ(d.p.desktop.moves, 0);

  d.p.desktop.rect = {1920, 1080};
  d.Check();
  EXPECT_EQ(d.At(0), (Point{10, 10}));
  EXPECT_EQ(d.At(1), (Point{1970, 1130}));
  EXPECT_EQ(d.p.state.table.Desktop(), (DesktopRect{1920, 1080}));
  EXPECT_EQ(d.p.state.table.hiddenCount, 1);
  EXPECT_EQ(d.view.mainWindowRelists, 1);
  EXPECT_FALSE(d.view.Running(TrayTimer::kDisplayCheck));
}

TEST(TrayWindowTest, ADisplayChangeWaitsForOurDialogsAndEndsWhenTheAreaStaysTheSame) {
  DisplayChange d;
  d.p.desktop.rect = {1920, 1080};
  d.tray.OnDisplayChanged();
  // A dialog of the main window, then the tray's own restore dialog, whose snapshot already sees
  // the new area: nothing moves while either waits for the user.
  d.view.insideOtherWork = true;
  for (int tick = 0; tick < 2 * kDisplayChecks; ++tick) d.Check();
  EXPECT_TRUE(d.tray.Occupied());
  d.view.insideOtherWork = false;
  EXPECT_FALSE(d.tray.Occupied());
  d.view.duringRestoreDialog = [&] {
    EXPECT_TRUE(d.tray.Occupied());  // commands sent from outside are answered busy meanwhile
    d.Check();
  };
  d.tray.Run(TrayCommand::kRestore);
  EXPECT_EQ(d.p.desktop.moves, 0);
  EXPECT_TRUE(d.view.Running(TrayTimer::kDisplayCheck));
  d.Check();
  EXPECT_EQ(d.At(1), (Point{1970, 1130}));
  EXPECT_EQ(d.p.state.table.hiddenCount, 1);

  // Announced again with the area unchanged: nothing to follow, and the checks end.
  d.p.desktop.ResetCounters();
  d.tray.OnDisplayChanged();
  for (int tick = 0; tick < kDisplayChecks; ++tick) d.Check();
  EXPECT_FALSE(d.view.Running(TrayTimer::kDisplayCheck));
  EXPECT_EQ(d.p.desktop.moves, 0);
}

}  // namespace
}  // namespace norv
