#include "commands/resident_commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "commands/command_line.h"
#include "commands/command_output.h"
#include "commands/command_services.h"
#include "core/settings.h"
#include "displays/display_follower.h"
#include "mainwindow/main_window.h"
#include "mainwindow/recording_view.h"
#include "support/fake_displays.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::Utf8;

constexpr Point kHidingPoint{1074, 818};
const std::u16string kSettings = u"C:\\Norv\\Norv.ini";

// The resident program after its start-up, its main window open or not.
struct Resident : ResidentWindows {
  test::FakePlatform p;
  test::RecordingView view;
  MainWindow window{p.state, p.services, view};
  test::FakeDisplays displays;
  DisplayFollower follower{p.state, p.services, displays};
  bool windowOpen = false;
  int settingsOpened = 0;
  int followSwitches = 0;
  CollectedOutput out;

  Resident() {
    p.desktop.Add(u"ごみ箱", 10, 10);
    p.desktop.Add(u"メモ", 10, 90);
    p.state.options = {0, 1};
    p.state.table.firstSnapshotPending = true;
    SnapshotDesktop(p.state.table, p.services);
  }
  void OpenWindow() {
    window.Load();
    windowOpen = true;
  }

  bool MainWindowOpen() override { return windowOpen; }
  void ShowOutsideChange() override {
    if (windowOpen) window.ShowOutsideChange();
  }
  void OpenSettings() override { ++settingsOpened; }
  DisplayFollower& Follower() override { return follower; }
  void FollowDisplaysSwitched() override { ++followSwitches; }

  ExitCode Run(CommandKind kind, std::u16string name = {}, bool on = false) {
    out.lines.clear();
    CommandServices command(p.services, out);
    return RunInResident({kind, std::move(name), false, on}, p.state, command, *this);
  }
  std::string Line() const { return out.lines.empty() ? "" : Utf8(out.lines.back().text); }
};

TEST(ResidentCommandsTest, HideAllAndShowAllAsTheButtonsDoWithTheWindowClosed) {
  Resident r;
  r.p.desktop.Add(u"新しい", 200, 10);  // added since the last snapshot
  EXPECT_EQ(r.Run(CommandKind::kHideAll), ExitCode::kDone);
  EXPECT_EQ(r.Line(), "全てのｱｲｺﾝを非表示にしました。");
  for (const auto& item : r.p.desktop.items) EXPECT_EQ(item.position, kHidingPoint);
  // As the button: "keep positions at exit" goes off, and the closed window's options are saved.
  EXPECT_EQ(r.p.state.options.keepPositionsAtExit, 0);
  EXPECT_EQ(r.p.profile.Read(u"Section", u"ReCover_1", kSettings), u"0");

  EXPECT_EQ(r.Run(CommandKind::kShowAll), ExitCode::kDone);
  EXPECT_EQ(r.Line(), "全てのｱｲｺﾝを起動時の位置に表示しました。");
  EXPECT_EQ(r.p.desktop.items[0].position, (Point{10, 10}));
  EXPECT_EQ(r.p.desktop.items[1].position, (Point{10, 90}));
  EXPECT_EQ(r.p.desktop.items[2].position, kHidingPoint);  // no start-up position
  EXPECT_EQ(r.p.state.table.hiddenCount, 1);
}

TEST(ResidentCommandsTest, AnOpenMainWindowShowsWhatTheCommandsDid) {
  Resident r;
  r.OpenWindow();
  EXPECT_EQ(r.Run(CommandKind::kHideAll), ExitCode::kDone);
  EXPECT_EQ(r.view.rows.size(), 2u);
  EXPECT_NE(r.view.rows[0].find(u"非表示"), std::u16string::npos);
  EXPECT_EQ(r.view.optionChecked[1], false);
  EXPECT_FALSE(r.p.files.Has(kSettings));  // the window writes its options when it closes

  EXPECT_FALSE(r.view.Enabled(Command::kRestore));
  r.view.selected = 1;
  EXPECT_EQ(r.Run(CommandKind::kSave, u"仕事"), ExitCode::kDone);
  EXPECT_TRUE(r.view.Enabled(Command::kRestore));
  EXPECT_EQ(r.view.selected, -1);
  EXPECT_FALSE(r.view.Enabled(Command::kShowSelected));

  EXPECT_EQ(r.Run(CommandKind::kShowAll), ExitCode::kDone);
  EXPECT_EQ(r.Run(CommandKind::kRestore, u"仕事"), ExitCode::kDone);
  EXPECT_EQ(r.p.desktop.items[0].position, kHidingPoint);
  EXPECT_NE(r.view.rows[0].find(u"非表示"), std::u16string::npos);
}

// As for the buttons: a shell that restarts under the moves has them made on its new desktop; one
// that stops answering ends the command in code 4 with one line, no box, and the program going on.
TEST(ResidentCommandsTest, TheDesktopsAnswersDecideTheCodeAndTheOneLineSaysWhy) {
  struct Case {
    const char* what;
    CommandKind command;
    std::function<void(test::SimulatedDesktop&)> arrange;
    ExitCode code;
    std::string line;
    bool everyIconHidden;
  };
  const std::vector<Case> cases = {
      {"shell restarted under the first move", CommandKind::kHideAll,
       [](test::SimulatedDesktop& d) { d.replaceViewAtMove = d.moves; }, ExitCode::kDone,
       "全てのｱｲｺﾝを非表示にしました。", true},
      {"a move not delivered", CommandKind::kHideAll,
       [](test::SimulatedDesktop& d) { d.failMoveAt = d.moves + 1; }, ExitCode::kDesktopUnreadable,
       "ﾃﾞｽｸﾄｯﾌﾟ (エクスプローラー) が応答しなくなったため、ｱｲｺﾝを最後まで動かせませんでした。"
       "もう一度お試し下さい。",
       false},
      {"the count unanswered", CommandKind::kHideAll,
       [](test::SimulatedDesktop& d) { d.hung = true; }, ExitCode::kDesktopUnreadable,
       "ﾃﾞｽｸﾄｯﾌﾟ (エクスプローラー) が応答しなかったため、何も動かしませんでした。"
       "もう一度お試し下さい。",
       false},
      {"no icons", CommandKind::kShowAll, [](test::SimulatedDesktop& d) { d.items.clear(); },
       ExitCode::kDesktopUnreadable, "ｱｲｺﾝが見つかりませんでした。", false},
  };
  for (const Case& c : cases) {
    Resident r;
    c.arrange(r.p.desktop);
    EXPECT_EQ(r.Run(c.command), c.code) << c.what;
    ASSERT_EQ(r.out.lines.size(), 1u) << c.what;
    EXPECT_EQ(r.Line(), c.line) << c.what;
    EXPECT_TRUE(r.p.messages.shown.empty()) << c.what;
    EXPECT_EQ(r.p.state.table.hiddenCount == 2, c.everyIconHidden) << c.what;
    EXPECT_EQ(r.p.state.table.itemCount, 2) << c.what;  // the last good table stays
  }
}

TEST(ResidentCommandsTest, FollowingTheDisplaysIsSwitchedListedAndUndone) {
  Resident r;
  EXPECT_EQ(r.Run(CommandKind::kUndo), ExitCode::kLayoutRefused);
  EXPECT_EQ(r.Line(), "元に戻せる自動の復帰はありません。");

  ASSERT_EQ(r.Run(CommandKind::kFollowDisplays, {}, true), ExitCode::kDone);
  EXPECT_EQ(r.Line(), "画面の構成ごとのｱｲｺﾝ位置の記録と復帰を有効にしました。");
  EXPECT_EQ(r.p.profile.Read(u"Section", u"FollowDisplays", kSettings), u"1");
  EXPECT_EQ(r.followSwitches, 1);
  // Switched on, the configuration in use is recorded at once.
  ASSERT_EQ(r.Run(CommandKind::kDisplays), ExitCode::kDone);
  EXPECT_EQ(r.Line(), "1 台: 1920×1200 100% (メイン)\t2026/12/08 12:00:00\t現在");

  // Another configuration settles, its arrangement is recorded, then the first comes back.
  const auto settleOn = [&](DisplayConfiguration configuration) {
    r.displays.configuration = std::move(configuration);
    r.follower.OnDisplayEvent();
    for (int tick = 0; tick < 10 && r.follower.Settling(); ++tick) {
      r.displays.now += 1000;
      r.follower.OnTick();
    }
  };
  settleOn({{{u"SHP", 1366, 768, 0, 0, 0, 120, true}}, false});
  r.p.desktop.items[0].position = {300, 300};
  r.follower.Record();
  settleOn(*test::FakeDisplays().configuration);
  EXPECT_EQ(r.p.desktop.items[0].position, (Point{10, 10}));
  ASSERT_EQ(r.Run(CommandKind::kDisplays), ExitCode::kDone);
  ASSERT_EQ(r.out.lines.size(), 2u);
  EXPECT_EQ(Utf8(r.out.lines[1].text), "1 台: 1366×768 125% (メイン)\t2026/12/08 12:00:00");

  EXPECT_EQ(r.Run(CommandKind::kUndo), ExitCode::kDone);
  EXPECT_EQ(r.Line(), "自動で復帰する直前のｱｲｺﾝ位置に戻しました。");
  EXPECT_EQ(r.p.desktop.items[0].position, (Point{300, 300}));
  EXPECT_EQ(r.p.state.table.positions[0], (Point{300, 300}));
  EXPECT_EQ(r.Run(CommandKind::kUndo), ExitCode::kLayoutRefused) << "one level only";

  ASSERT_EQ(r.Run(CommandKind::kFollowDisplays, {}, false), ExitCode::kDone);
  EXPECT_EQ(r.p.profile.Read(u"Section", u"FollowDisplays", kSettings), u"0");
  EXPECT_FALSE(r.follower.On());
}

TEST(ResidentCommandsTest, OpenIsTheSettingsEntry) {
  Resident r;
  EXPECT_EQ(r.Run(CommandKind::kOpen), ExitCode::kDone);
  EXPECT_EQ(r.settingsOpened, 1);
  EXPECT_EQ(r.Line(), "設定画面を開きました。");
}

}  // namespace
}  // namespace norv
