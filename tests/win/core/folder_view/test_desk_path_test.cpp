#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "core/icon_table.h"
#include "core/win32/folder_view/desktop_bridge.h"
#include "core/win32/list_view_desktop.h"
#include "support/fake_services.h"
#include "support/test_desk.h"

namespace norv {
namespace {

using wintest::DeskItem;
using wintest::TestDesk;

const std::vector<DeskItem> kDesk = {
    {20, 2, 0, u"ごみ箱"},
    {-5, 100, 1, u"マイ コンピュータ"},
    {1074, 818, 2, u"隠れた アイコン"},
};

// The program's bridge with the system's own shell, against the test desktop in its own process:
// the shell objects of Wine do not lead to that list view, so every snapshot keeps to the
// list-view messages, and reads, moves and arranging work as they did without the folder view.
TEST(TestDeskPathTest, TheSystemShellLeavesTheTestDesktopToTheListView) {
  std::string error;
  auto desk = TestDesk::Start(wintest::TestDeskOptions::Items(kDesk), &error);
  ASSERT_NE(desk, nullptr) << error;
  ListViewDesktop listView;
  DesktopBridge bridge(listView, [&listView] { return listView.handle(); });
  test::FakePlatform platform;
  Services services{bridge.desktop(),  platform.files,      platform.profile,
                    platform.messages, platform.programEnd, platform.pause};
  IconTable table;
  ASSERT_TRUE(SnapshotDesktop(table, services));
  EXPECT_EQ(bridge.path(), DesktopPath::kListView);
  ASSERT_EQ(table.itemCount, 3);
  EXPECT_EQ(TrimTrailingSpaces(table.texts[1]), u"マイ コンピュータ");
  EXPECT_EQ(table.positions[1], (Point{-5, 100}));
  EXPECT_EQ(table.hiddenCount, 1);

  ASSERT_TRUE(desk->ResetCounts());
  EXPECT_TRUE(bridge.desktop().SetItemPosition(0, 500, 300));
  EXPECT_TRUE(bridge.desktop().ArrangeIcons());
  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->RequestCount(LVM_SETITEMPOSITION), 1u);
  EXPECT_EQ(report->RequestCount(LVM_ARRANGE), 1u);
  EXPECT_EQ(desk->Quit(), 0u);
}

}  // namespace
}  // namespace norv
