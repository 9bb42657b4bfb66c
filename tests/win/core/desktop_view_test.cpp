#include "core/win32/list_view_desktop.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>
#include <gtest/gtest.h>

#include "core/icon_moves.h"
#include "core/icon_table.h"
#include "support/fake_services.h"
#include "support/test_desk.h"
#include "support/wait.h"

namespace norv {
namespace {

using wintest::DeskHost;
using wintest::DeskItem;
using wintest::TestDesk;
using wintest::TestDeskOptions;

// The real desktop view with recording stand-ins for everything else.
struct ShellServices {
  ListViewDesktop desktop;
  test::MemoryFileSystem files;
  test::MemoryProfileFile profile{files};
  test::RecordingMessages messages;
  test::ThrowingProgramEnd programEnd;
  test::RecordingPause pause;
  Services services{desktop, files, profile, messages, programEnd, pause};
};

std::unique_ptr<TestDesk> StartDesk(const TestDeskOptions& options) {
  std::string error;
  std::unique_ptr<TestDesk> desk = TestDesk::Start(options, &error);
  EXPECT_TRUE(desk) << error;
  return desk;
}

std::vector<std::u16string> TrimmedTexts(const IconTable& table) {
  std::vector<std::u16string> texts;
  for (const std::u16string& text : table.texts) texts.emplace_back(TrimTrailingSpaces(text));
  return texts;
}

TEST(ListViewDesktopTest, SnapshotReadsTextsAsCp932CutAt39BytesWithPositionsAndImages) {
  const std::u16string kanji18 = u"一二三四五六七八九十百千万円年月日火";
  const auto desk = StartDesk(TestDeskOptions::Items({
      {20, 10, 31, u"ごみ箱"},
      {-40, 120, 15, u"マイ コンピュータ"},
      {100, -30, 2, u"ｱｲｺﾝ ﾃｽﾄ"},
      // 20 double-byte characters are 40 bytes: the last one does not fit.
      {200, 200, 0, u"とても長い名前のファイルがここにあります"},
      // The 39th byte would be the first half of a character.
      {260, 200, 0, u"AB" + kanji18 + u"二十"},
      // Exactly 39 bytes survive whole.
      {320, 200, 0, u"ABC" + kanji18 + u"DEF"},
      {380, 200, 0, std::u16string(60, u'x')},
      {440, 200, 0, u""},
  }));
  ASSERT_TRUE(desk);
  ShellServices shell;
  IconTable table;
  table.firstSnapshotPending = true;
  ASSERT_TRUE(SnapshotDesktop(table, shell.services));

  EXPECT_EQ(TrimmedTexts(table), (std::vector<std::u16string>{
                                     u"ごみ箱",
                                     u"マイ コンピュータ",
                                     u"ｱｲｺﾝ ﾃｽﾄ",
                                     u"とても長い名前のファイルがここにありま",
                                     u"AB" + kanji18,
                                     u"ABC" + kanji18,
                                     std::u16string(39, u'x'),
                                     u"",
                                 }));
  EXPECT_EQ(table.positions[0], (Point{20, 10}));
  EXPECT_EQ(table.positions[1], (Point{-40, 120}));
  EXPECT_EQ(table.positions[2], (Point{100, -30}));
  EXPECT_EQ(table.initialPositions, table.positions);
  EXPECT_EQ(table.imageIndexes[0], 31);
  EXPECT_EQ(table.imageIndexes[1], 15);
  EXPECT_EQ(table.itemCount, 8);
  EXPECT_EQ(table.shownCount, 8);
  EXPECT_TRUE(shell.messages.shown.empty());

  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(table.Desktop(), (DesktopRect{report->clientWidth, report->clientHeight}));
}

TEST(ListViewDesktopTest, ASnapshotMakesTwoRequestsPerIconAndWritesAndReadsTheShellsMemoryOnce) {
  constexpr int kIcons = 120;
  const auto desk = StartDesk(TestDeskOptions::Generated(kIcons));
  ASSERT_TRUE(desk);
  ShellServices shell;
  IconTable table;
  ASSERT_TRUE(desk->ResetCounts());
  ASSERT_TRUE(SnapshotDesktop(table, shell.services));
  ASSERT_EQ(table.itemCount, kIcons);
  EXPECT_EQ(TrimTrailingSpaces(table.texts[kIcons - 1]), u"アイコン0120");

  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->RequestCount(LVM_GETITEMPOSITION), static_cast<uint32_t>(kIcons));
  EXPECT_EQ(report->RequestCount(LVM_GETITEMW), static_cast<uint32_t>(kIcons));
  EXPECT_LE(report->TotalRequests(), 2u * kIcons + 2u);
  EXPECT_EQ(shell.desktop.remoteMemory(),
            (RemoteMemoryCounts{.allocations = 1, .writes = 1, .reads = 1, .releases = 1}));
}

TEST(ListViewDesktopTest, MovesBeyondTheEdgesReadBackAndCountAsHidden) {
  const auto desk = StartDesk(TestDeskOptions::Items({
      {10, 10, 0, u"ごみ箱"},
      {90, 10, 0, u"マイ ドキュメント"},
      {170, 10, 0, u"メモ"},
  }));
  ASSERT_TRUE(desk);
  ShellServices shell;
  IconTable table;
  ASSERT_TRUE(SnapshotDesktop(table, shell.services));
  const DesktopRect edge = table.Desktop();

  ASSERT_TRUE(shell.desktop.SetItemPosition(0, edge.right + 50, edge.bottom + 50));
  ASSERT_TRUE(shell.desktop.SetItemPosition(1, edge.right, edge.bottom));
  ASSERT_TRUE(shell.desktop.SetItemPosition(2, -25, -60));
  ASSERT_TRUE(SnapshotDesktop(table, shell.services));
  EXPECT_EQ(table.positions[0], (Point{edge.right + 50, edge.bottom + 50}));
  EXPECT_EQ(table.positions[1], (Point{edge.right, edge.bottom}));
  EXPECT_EQ(table.positions[2], (Point{-25, -60}));
  EXPECT_EQ(table.states,
            (std::vector<IconState>{IconState::kHidden, IconState::kShown, IconState::kShown}));
  EXPECT_EQ(table.hiddenCount, 1);

  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->items[0].x, edge.right + 50);
  EXPECT_EQ(report->items[0].y, edge.bottom + 50);
}

TEST(ListViewDesktopTest, ABatchOfMovesEndsWithTheViewDrawingAlsoWhenTheShellStallsInIt) {
  constexpr int kIcons = 20;
  const auto desk = StartDesk(TestDeskOptions::Generated(kIcons));
  ASSERT_TRUE(desk);
  ShellServices shell;
  IconTable table;
  table.firstSnapshotPending = true;
  ASSERT_TRUE(SnapshotDesktop(table, shell.services));
  const std::vector<DeskItem> start = desk->Report()->items;
  const Point hidden = table.HidingPoint();

  ASSERT_TRUE(desk->ResetCounts());
  const MovePlan hideAll = [](const IconTable& now) {
    std::vector<IconMove> moves;
    for (int32_t i = 0; i < now.itemCount; ++i) moves.push_back({i, now.HidingPoint()});
    return moves;
  };
  EXPECT_TRUE(MoveIcons(table, shell.services, hideAll, OnNewDesktop::kStop).allDelivered);
  auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_TRUE(report->redrawOn);
  EXPECT_EQ(report->redrawOffs, 1u);
  EXPECT_EQ(report->redrawOns, 1u);
  for (const DeskItem& item : report->items) EXPECT_EQ((Point{item.x, item.y}), hidden);

  // The fifth move is answered only after a request's timeout: the batch stops there, and ends.
  ASSERT_TRUE(desk->ResetCounts());
  ASSERT_TRUE(desk->HangAtRequest(5, 4000));
  const MoveOutcome back =
      MoveIcons(table, shell.services, MovesToStartupPositions, OnNewDesktop::kStop);
  EXPECT_FALSE(back.allDelivered);
  EXPECT_EQ(back.delivered, 4);
  report = desk->Report();  // answered once the shell is free again
  ASSERT_TRUE(report);
  EXPECT_TRUE(report->redrawOn);
  EXPECT_EQ(report->redrawOffs, 1u);
  for (size_t i = 0; i < report->items.size(); ++i) {
    // The stalled move is carried out late; none after it was sent.
    const Point expected = i < 5 ? Point{start[i].x, start[i].y} : hidden;
    EXPECT_EQ((Point{report->items[i].x, report->items[i].y}), expected) << i;
  }
}

TEST(ListViewDesktopTest, EndingABatchWithoutOneLetsAViewThatAKilledRunLeftDrawAgain) {
  const auto desk = StartDesk(TestDeskOptions::Items({{10, 10, 0, u"ごみ箱"}}));
  ASSERT_TRUE(desk);
  SendMessageW(desk->ListView(), WM_SETREDRAW, FALSE, 0);
  ASSERT_FALSE(desk->Report()->redrawOn);
  ListViewDesktop desktop;
  ASSERT_TRUE(desktop.FindDesktopListView());
  desktop.EndMoveBatch();
  EXPECT_TRUE(desk->Report()->redrawOn);
}

TEST(ListViewDesktopTest, ArrangeLaysTheIconsOutAgain) {
  const auto desk = StartDesk(TestDeskOptions::Items({
      {700, 500, 0, u"ごみ箱"},
      {600, 400, 0, u"メモ"},
      {900, 650, 0, u"写真"},
  }));
  ASSERT_TRUE(desk);
  ShellServices shell;
  IconTable before;
  ASSERT_TRUE(SnapshotDesktop(before, shell.services));
  ASSERT_TRUE(shell.desktop.ArrangeIcons());
  IconTable after;
  ASSERT_TRUE(SnapshotDesktop(after, shell.services));
  for (size_t i = 0; i < before.positions.size(); ++i)
    EXPECT_NE(after.positions[i], before.positions[i]) << i;
  // Arranged icons stay on the desktop.
  EXPECT_EQ(after.shownCount, 3);
}

TEST(ListViewDesktopTest, FindsTheViewUnderWorkerWindows) {
  for (const DeskHost host : {DeskHost::kWorkerW, DeskHost::kWorkerWUnderProgman}) {
    TestDeskOptions options = TestDeskOptions::Items({{10, 10, 0, u"ごみ箱"}});
    options.host = host;
    const auto desk = StartDesk(options);
    ASSERT_TRUE(desk);
    ListViewDesktop desktop;
    ASSERT_TRUE(desktop.FindDesktopListView());
    EXPECT_EQ(desktop.handle(), desk->ListView());
    EXPECT_EQ(desktop.GetItemCount(), 1);
  }
}

TEST(ListViewDesktopTest, TheDesktopAreaIsTheWholeViewNotThePrimaryMonitor) {
  TestDeskOptions options = TestDeskOptions::Items({{10, 10, 0, u"ごみ箱"}});
  // Wider and taller than the screen, as a view spanning two monitors is.
  options.size = {GetSystemMetrics(SM_CXSCREEN) + 640, GetSystemMetrics(SM_CYSCREEN) + 120};
  const auto desk = StartDesk(options);
  ASSERT_TRUE(desk);
  ListViewDesktop desktop;
  ASSERT_TRUE(desktop.FindDesktopListView());
  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(desktop.GetDesktopRect(), (DesktopRect{report->clientWidth, report->clientHeight}));
  EXPECT_GT(desktop.GetDesktopRect().right, GetSystemMetrics(SM_CXSCREEN));
}

TEST(ListViewDesktopTest, AVanishingShellFailsTheSnapshotAndKeepsTheLastTable) {
  const auto desk = StartDesk(TestDeskOptions::Generated(40));
  ASSERT_TRUE(desk);
  ShellServices shell;
  IconTable table;
  ASSERT_TRUE(SnapshotDesktop(table, shell.services));
  const IconTable kept = table;

  ASSERT_TRUE(desk->VanishAfterRequests(11));
  EXPECT_FALSE(SnapshotDesktop(table, shell.services));
  EXPECT_EQ(table.positions, kept.positions);
  EXPECT_EQ(table.texts, kept.texts);
  ASSERT_TRUE(wintest::WaitUntil([&] { return desk->ListView() == nullptr; }));
  EXPECT_FALSE(shell.desktop.SetItemPosition(0, 10, 10));
  EXPECT_FALSE(shell.desktop.ViewStillExists());
}

TEST(ListViewDesktopTest, RequestsReportDeliveryAndTellAHungViewFromAGoneOne) {
  const auto desk = StartDesk(TestDeskOptions::Items({{10, 10, 0, u"ごみ箱"}}));
  ASSERT_TRUE(desk);
  ListViewDesktop desktop;
  ASSERT_TRUE(desktop.FindDesktopListView());
  // An index the view does not hold is refused by the view, yet the request reached it.
  EXPECT_TRUE(desktop.SetItemPosition(5, 10, 10));

  // Longer than the two requests' timeouts together, with room to spare.
  ASSERT_TRUE(desk->Hang(9000));
  EXPECT_EQ(desktop.GetItemCount(), std::nullopt) << "unanswered is not empty";
  EXPECT_FALSE(desktop.SetItemPosition(0, 300, 300));
  EXPECT_TRUE(desktop.ViewStillExists());

  ASSERT_TRUE(desk->Restart(0));
  ASSERT_TRUE(desk->WaitForListView());
  EXPECT_FALSE(desktop.SetItemPosition(0, 400, 400));
  EXPECT_FALSE(desktop.ViewStillExists());
  ASSERT_TRUE(desktop.FindDesktopListView());
  EXPECT_TRUE(desktop.SetItemPosition(0, 400, 400));
  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->items[0].x, 400);
}

}  // namespace
}  // namespace norv
