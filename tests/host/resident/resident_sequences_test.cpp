#include "resident/resident_sequences.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/settings.h"
#include "layout/layout_file.h"
#include "recording_tray_view.h"
#include "resident/tray_window.h"
#include "support/fake_displays.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;
using test::ProgramEnded;
using test::RecordingTrayView;

const std::u16string kIni = u"C:\\Norv\\Norv.ini";
const std::u16string kE01 = u"C:\\Norv\\Norv.e01";

// One run of the program against a desktop and files that outlive it, started as Norv.exe
// starts.
struct ProgramRun {
  FakePlatform& p;
  RecordingTrayView view;
  test::FakeDisplays displays;
  TrayWindow tray{p.state, p.services, view, displays};

  explicit ProgramRun(FakePlatform& platform) : p(platform) {
    p.state = AppState{};
    BeginStartup(p.state, p.services, u"C:\\Norv");
    tray.Start();
  }
  void Exit() { EXPECT_THROW(tray.Run(TrayCommand::kExit), ProgramEnded); }
};

void SetOptions(FakePlatform& p, const std::u16string& first, const std::u16string& second) {
  p.profile.Write(u"Section", u"ReCover_0", first, kIni);
  p.profile.Write(u"Section", u"ReCover_1", second, kIni);
}

Point PositionOf(const FakePlatform& p, size_t i) { return p.desktop.items[i].position; }

// Three icons; the last exit left "b" elsewhere and "c" hidden.
void PrepareLastExit(FakePlatform& p) {
  p.desktop.Add(u"a", 10, 10);
  p.desktop.Add(u"b", 10, 90);
  p.desktop.Add(u"c", 10, 170);
  IconTable lastExit;
  lastExit.itemCount = 3;
  lastExit.texts = {PadIconText(u"a"), PadIconText(u"b"), PadIconText(u"c")};
  lastExit.positions = {{10, 10}, {500, 300}, {1074, 818}};
  p.files.Put(kE01, EncodeLayout(lastExit));
}

class OptionTableTest
    : public testing::TestWithParam<std::tuple<const char16_t*, const char16_t*, bool, bool>> {};

TEST_P(OptionTableTest, StartAndExitFollowTheTwoOptions) {
  const auto [first, second, bringsBackLastExit, putsBackAtExit] = GetParam();
  FakePlatform p;
  PrepareLastExit(p);
  SetOptions(p, first, second);

  ProgramRun run(p);
  EXPECT_TRUE(run.view.IconPresent());
  if (bringsBackLastExit) {
    EXPECT_EQ(PositionOf(p, 1), (Point{500, 300}));
    EXPECT_EQ(PositionOf(p, 2), (Point{1074, 818}));
    EXPECT_EQ(p.state.table.hiddenCount, 1);  // the table shows the applied positions
  } else {
    EXPECT_EQ(PositionOf(p, 1), (Point{10, 90}));
    EXPECT_EQ(p.desktop.moves, 0);
  }
  // Start-up positions are the desktop as found, before anything moved.
  EXPECT_EQ(p.state.table.initialPositions, (std::vector<Point>{{10, 10}, {10, 90}, {10, 170}}));

  p.desktop.items[0].position = {700, 20};  // the user drags an icon
  const Point beforeExit = PositionOf(p, 1);
  run.Exit();
  EXPECT_FALSE(run.view.IconPresent());
  // The file describes the desktop before the exit moved anything.
  const std::vector<LayoutRecord> written = DecodeLayout(p.files.Bytes(kE01));
  ASSERT_EQ(written.size(), 3u);
  EXPECT_EQ(written[0].x, 700);
  EXPECT_EQ(written[1].x, beforeExit.x);
  if (putsBackAtExit) {
    EXPECT_EQ(PositionOf(p, 0), (Point{10, 10}));
    EXPECT_EQ(PositionOf(p, 1), (Point{10, 90}));
    EXPECT_EQ(PositionOf(p, 2), (Point{10, 170}));
  } else {
    EXPECT_EQ(PositionOf(p, 0), (Point{700, 20}));
    EXPECT_EQ(PositionOf(p, 1), beforeExit);
  }
}

// Only exactly 1 brings back the last exit; any non-zero value keeps the icons at exit.
INSTANTIATE_TEST_SUITE_P(Options, OptionTableTest,
                         testing::Values(std::make_tuple(u" 0", u" 0", false, true),
                                         std::make_tuple(u" 0", u" 1", false, false),
                                         std::make_tuple(u" 1", u" 0", true, true),
                                         std::make_tuple(u" 1", u" 1", true, false),
                                         std::make_tuple(u" 2", u" 2", false, false),
                                         std::make_tuple(u"", u"-1", false, false)));

TEST(ExitSequenceTest, TenIconsGiveOneRecordEachInTableOrder) {
  FakePlatform p;
  for (int i = 0; i < 10; ++i) p.desktop.Add(u"icon " + std::u16string(1, u'0' + i), i * 80, 5);
  ProgramRun run(p);
  run.Exit();
  const std::string& bytes = p.files.Bytes(kE01);
  ASSERT_EQ(bytes.size(), 1240u);
  EXPECT_EQ(bytes.substr(0, 120), std::string("icon 0") + std::string(114, ' '));
  const std::vector<LayoutRecord> records = DecodeLayout(bytes);
  EXPECT_EQ(records[9].x, 720);
  EXPECT_EQ(TrimTrailingSpaces(records[9].text), u"icon 9");
}

TEST(StartupSequenceTest, FirstRunCreatesAnEmptyFileAndMovesNothing) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  SetOptions(p, u" 1", u" 0");
  ProgramRun run(p);
  EXPECT_EQ(p.desktop.moves, 0);
  ASSERT_TRUE(p.files.Has(kE01));
  EXPECT_TRUE(p.files.Bytes(kE01).empty());
  EXPECT_EQ(run.view.iconAdds, 1);
}

TEST(StartupSequenceTest, RecordsOfASharedTextAllMoveTheFirstIcon) {
  FakePlatform p;
  p.desktop.Add(u"same", 10, 10);
  p.desktop.Add(u"same", 10, 90);
  IconTable lastExit;
  lastExit.itemCount = 2;
  lastExit.texts = {PadIconText(u"same"), PadIconText(u"same")};
  lastExit.positions = {{300, 10}, {300, 90}};
  p.files.Put(kE01, EncodeLayout(lastExit));
  SetOptions(p, u" 1", u" 0");
  ProgramRun run(p);
  EXPECT_EQ(PositionOf(p, 0), (Point{300, 90}));  // the last record of the text decides
  EXPECT_EQ(PositionOf(p, 1), (Point{10, 90}));
}

TEST(StartupSequenceTest, ADesktopLeftNotPaintingByAKilledRunPaintsAgain) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.painting = false;  // the last run died between a batch's begin and end
  ProgramRun run(p);
  EXPECT_TRUE(p.desktop.painting);
}

TEST(StartupSequenceTest, FailedFirstSnapshotLeavesTheNextOneToRecordTheStart) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.failLabelReadAt = 0;
  SetOptions(p, u" 1", u" 0");
  ProgramRun run(p);
  // Nothing was known to match, so nothing moved; the second snapshot recorded the start.
  EXPECT_EQ(p.desktop.moves, 0);
  EXPECT_EQ(p.state.table.initialPositions, (std::vector<Point>{{10, 10}}));
  EXPECT_FALSE(p.state.table.firstSnapshotPending);
}

TEST(StartupSequenceTest, AFirstSnapshotThatFailsIsTakenAgainSecondsApartUntilOneIsWhole) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.hung = true;  // the shell still busy starting at logon
  p.pause.during = [&] { p.desktop.hung = p.pause.waits.size() < 3; };
  ProgramRun run(p);
  EXPECT_EQ(p.pause.waits, std::vector<int>(3, 1000));
  EXPECT_EQ(p.state.table.initialPositions, (std::vector<Point>{{10, 10}}));
  EXPECT_TRUE(run.view.IconPresent());
  EXPECT_TRUE(p.messages.shown.empty());
}

TEST(StartupSequenceTest, AShellThatNeverAnswersLeavesTheStartToTheFirstWholeSnapshotLater) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.hung = true;
  ProgramRun run(p);
  EXPECT_EQ(p.pause.waits.size(), 9u) << "the program settles after a bounded wait";
  EXPECT_TRUE(run.view.IconPresent());
  EXPECT_TRUE(p.state.table.firstSnapshotPending);
  p.desktop.hung = false;
  run.tray.Run(TrayCommand::kRestore);
  EXPECT_EQ(p.state.table.initialPositions, (std::vector<Point>{{10, 10}}));
}

TEST(ResidentRunsTest, IconHiddenAtExitIsHiddenAgainAfterTheNextStart) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.Add(u"secret", 10, 90);
  SetOptions(p, u" 1", u" 1");
  {
    ProgramRun first(p);
    p.desktop.SetItemPosition(1, 1074, 818);  // hidden while the program ran
    first.Exit();
  }
  p.desktop.items[1].position = {10, 90};  // something put it back between the runs
  ProgramRun second(p);
  EXPECT_EQ(PositionOf(p, 1), (Point{1074, 818}));
  EXPECT_EQ(p.state.table.hiddenCount, 1);
}

TEST(ExitSequenceTest, IconsAddedAfterStartUpKeepTheirPlace) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  ProgramRun run(p);
  p.desktop.items[0].position = {1074, 818};
  p.desktop.Add(u"new", 400, 400);
  run.Exit();
  EXPECT_EQ(PositionOf(p, 0), (Point{10, 10}));
  EXPECT_EQ(PositionOf(p, 1), (Point{400, 400}));
  EXPECT_EQ(p.desktop.moves, 1);
  EXPECT_EQ(DecodeLayout(p.files.Bytes(kE01)).size(), 2u);
}

TEST(ExitSequenceTest, FailedWriteKeepsThePreviousFileAndStillPutsIconsBack) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.files.Put(kE01, std::string(124, 'x'));
  ProgramRun run(p);
  p.desktop.items[0].position = {1074, 818};
  p.files.diskFull = true;
  run.Exit();
  EXPECT_EQ(p.files.Bytes(kE01), std::string(124, 'x'));
  EXPECT_EQ(PositionOf(p, 0), (Point{10, 10}));
  EXPECT_FALSE(run.view.IconPresent());
}

TEST(ExitSequenceTest, ReadOnlyProgramFolderStillPutsIconsBack) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.Add(u"b", 10, 90);
  SetOptions(p, u" 1", u" 0");
  p.files.readOnlyFolder = true;
  ProgramRun run(p);  // the missing file cannot be created: nothing to bring back
  EXPECT_FALSE(p.files.Has(kE01));
  p.desktop.SetItemPosition(0, 1074, 818);
  p.desktop.SetItemPosition(1, 1074, 818);
  run.Exit();
  EXPECT_FALSE(p.files.Has(kE01));
  EXPECT_EQ(PositionOf(p, 0), (Point{10, 10}));
  EXPECT_EQ(PositionOf(p, 1), (Point{10, 90}));
}

TEST(ExitSequenceTest, HalfReadDesktopIsNotWrittenButIconsGoBack) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.Add(u"b", 10, 90);
  p.files.Put(kE01, std::string(248, 'x'));
  ProgramRun run(p);
  p.desktop.SetItemPosition(1, 1074, 818);
  p.desktop.ResetCounters();
  p.desktop.failLabelReadAt = 1;  // the shell goes away during the exit's snapshot
  run.Exit();
  EXPECT_EQ(p.files.Bytes(kE01), std::string(248, 'x'));
  EXPECT_EQ(PositionOf(p, 1), (Point{10, 90}));
  EXPECT_FALSE(run.view.IconPresent());
}

TEST(ExitSequenceTest, AShellThatDoesNotAnswerKeepsThePreviousFileAndTheProgramStillEnds) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.Add(u"b", 10, 90);
  p.files.Put(kE01, std::string(248, 'x'));
  ProgramRun run(p);
  p.desktop.hung = true;
  p.desktop.ResetCounters();
  run.Exit();
  EXPECT_EQ(p.files.Bytes(kE01), std::string(248, 'x'));
  EXPECT_EQ(p.desktop.moves, 1) << "each further move would wait as long";
  EXPECT_TRUE(p.messages.shown.empty());
  EXPECT_FALSE(run.view.IconPresent());
}

TEST(ExitSequenceTest, AfterAShellRestartIconsGoBackByIndexOnTheNewDesktop) {
  FakePlatform p;
  p.desktop.Add(u"a", 10, 10);
  p.desktop.Add(u"b", 10, 90);
  ProgramRun run(p);
  p.desktop.SetItemPosition(1, 1074, 818);
  p.desktop.replaceViewAtMove = p.desktop.moves;  // the shell restarts as the exit moves icons
  run.Exit();
  EXPECT_EQ(PositionOf(p, 0), (Point{10, 10}));
  EXPECT_EQ(PositionOf(p, 1), (Point{10, 90}));
}

}  // namespace
}  // namespace norv
