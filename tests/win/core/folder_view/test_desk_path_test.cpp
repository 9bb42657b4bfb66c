#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "core/icon_table.h"
#include "core/win32/folder_view/desktop_bridge.h"
#include "core/win32/list_view_desktop.h"
#include "support/desk_paths.h"
#include "support/fake_services.h"
#include "support/test_desk.h"

namespace norv {
namespace {

using wintest::DeskItem;
using wintest::DeskPath;
using wintest::DeskSpot;
using wintest::TestDesk;

const std::vector<DeskItem> kDesk = {
    {20, 2, 0, u"ごみ箱"},
    {-5, 100, 1, u"マイ コンピュータ"},
    {1074, 818, 2, u"隠れた アイコン"},
    {95, 77, 2, u"メモ"},
    {95, 152, 2, u"メモ"},
    {170, 2, 3, u"年賀状2024.txt"},
};

class TestDeskPathTest : public testing::TestWithParam<DeskPath> {};

// A value of the machine's classes, or "-" when there is none.
std::wstring ClassesValue(const std::wstring& key) {
  wchar_t value[256] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  const std::wstring path = L"Software\\Classes\\" + key;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return L"-";
  }
  return value;
}
const std::wstring kShellWindowsTreatAs = L"CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\TreatAs";
const std::wstring kFolderViewProxy =
    L"Interface\\{1AF3A467-214F-4298-908E-06B03E0B39F9}\\ProxyStubClsid32";

// The program's bridge with the system's own shell, against the test desktop in its own process.
// Wine's shell leads to no view of it, so without the folder view testdesk serves, every snapshot
// keeps to the list-view messages; with it, the bridge reaches testdesk's view across the process
// boundary, names the icons from their ids in this process, and moves and arranges through the
// view, which keeps those positions over a refresh that list-view moves do not survive. A restart
// of the shell ends what was found on either path; its quit takes back what it registered.
TEST_P(TestDeskPathTest, TheBridgeTakesThePathTheDesktopOffersAndARefreshKeepsWhatItPromises) {
  const bool folderView = GetParam() == DeskPath::kFolderView;
  const std::wstring proxyBefore = ClassesValue(kFolderViewProxy);
  std::string error;
  auto desk = TestDesk::Start(wintest::TestDeskOptions::Items(kDesk).On(GetParam()), &error);
  ASSERT_NE(desk, nullptr) << error;
  EXPECT_EQ(ClassesValue(kShellWindowsTreatAs) != L"-", folderView);
  ListViewDesktop listView;
  DesktopBridge bridge(listView, [&listView] { return listView.handle(); });
  test::FakePlatform platform;
  Services services{bridge.desktop(),  platform.files,      platform.profile,
                    platform.messages, platform.programEnd, platform.pause};
  IconTable table;
  ASSERT_TRUE(SnapshotDesktop(table, services));
  EXPECT_EQ(bridge.path(), folderView ? DesktopPath::kFolderView : DesktopPath::kListView);
  ASSERT_EQ(table.itemCount, static_cast<int32_t>(kDesk.size()));
  for (size_t i = 0; i < kDesk.size(); ++i) {
    EXPECT_EQ(TrimTrailingSpaces(table.texts[i]), kDesk[i].text) << i;
    EXPECT_EQ(table.positions[i], (Point{kDesk[i].x, kDesk[i].y})) << i;
  }
  EXPECT_EQ(table.hiddenCount, 1);

  ASSERT_TRUE(desk->ResetCounts());
  EXPECT_TRUE(bridge.desktop().SetItemPosition(0, 500, 300));
  const auto moved = desk->Report();
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->RequestCount(LVM_SETITEMPOSITION), folderView ? 0u : 1u);
  EXPECT_EQ(moved->folderViewCalls > 0, folderView);
  EXPECT_EQ(desk->Spots()[0], (DeskSpot{500, 300}));
  ASSERT_TRUE(desk->Refresh());
  EXPECT_EQ(desk->Spots()[0], (folderView ? DeskSpot{500, 300} : DeskSpot{20, 2}));

  ASSERT_TRUE(desk->ResetCounts());
  EXPECT_TRUE(bridge.desktop().ArrangeIcons());
  const std::vector<DeskSpot> arranged = desk->Spots();
  EXPECT_NE(arranged, wintest::SpotsOf(kDesk));
  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->RequestCount(LVM_ARRANGE), folderView ? 0u : 1u);
  ASSERT_TRUE(desk->Refresh());
  EXPECT_EQ(desk->Spots() == arranged, folderView);

  // A restarted shell answers nothing through what was found before it, and is found again.
  ASSERT_TRUE(desk->Restart(0));
  ASSERT_TRUE(desk->WaitForListView());
  EXPECT_FALSE(bridge.desktop().SetItemPosition(0, 40, 40));
  ASSERT_TRUE(bridge.desktop().FindDesktopListView());
  EXPECT_EQ(bridge.path(), folderView ? DesktopPath::kFolderView : DesktopPath::kListView);
  EXPECT_TRUE(bridge.desktop().SetItemPosition(0, 40, 40));
  EXPECT_EQ(desk->Spots()[0], (DeskSpot{40, 40}));
  EXPECT_EQ(desk->Quit(), 0u);
  // What the desktop registered goes with it.
  EXPECT_EQ(ClassesValue(kShellWindowsTreatAs), L"-");
  EXPECT_EQ(ClassesValue(kFolderViewProxy), proxyBefore);
}

INSTANTIATE_TEST_SUITE_P(Paths, TestDeskPathTest, wintest::kBothDeskPaths, wintest::DeskPathName);

}  // namespace
}  // namespace norv
