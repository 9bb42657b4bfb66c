#include <gtest/gtest.h>
#include <windows.h>

#include "child_process.h"
#include "core/win32/win32_list_view.h"

namespace norv {
namespace {

using test::ChildProcess;

constexpr DWORD kStartMilliseconds = 15000;
constexpr DWORD kEndMilliseconds = 10000;
// The static text of a message box.
constexpr int kMessageTextId = 0xFFFF;

std::wstring NorvExe() { return test::BuildPath(NORV_EXE_PATH); }

TEST(NorvExeTest, WithoutDesktopIconsShowsTheMessageAndEnds) {
  ASSERT_EQ(FindShellDesktopListView(), nullptr) << "a desktop view is still open";
  ChildProcess norv(NorvExe());
  ASSERT_TRUE(norv.started());
  const HWND box = norv.WaitForDialog(kStartMilliseconds);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(test::WindowText(box), L"Norvane");
  EXPECT_EQ(test::ItemText(box, kMessageTextId), L"ｱｲｺﾝが見つかりませんでした。");
  // Style 48: an OK button alone.
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDYES), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDNO), nullptr);
  // The program waits for the user...
  EXPECT_FALSE(norv.WaitForExit(0));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  // ...and ends once the box is closed.
  EXPECT_EQ(norv.WaitForExit(kEndMilliseconds), 0u);
}

TEST(NorvExeTest, ASecondInstanceEndsAtOnceWhileTheFirstRuns) {
  ChildProcess first(NorvExe());
  // The first one holds its place while its message box is up.
  const HWND box = first.WaitForDialog(kStartMilliseconds);
  ASSERT_NE(box, nullptr);

  ChildProcess second(NorvExe());
  ASSERT_TRUE(second.started());
  // Without the instance check it would show a box of its own and wait for the user.
  EXPECT_EQ(second.WaitForExit(kEndMilliseconds), 0u);

  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(first.WaitForExit(kEndMilliseconds), 0u);
}

}  // namespace
}  // namespace norv
