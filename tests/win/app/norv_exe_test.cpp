#include <gtest/gtest.h>
#include <windows.h>

#include "support/build_paths.h"
#include "support/child_process.h"
#include "support/test_desk.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv {
namespace {

using wintest::ChildProcess;

constexpr DWORD kStartMilliseconds = 15000;
constexpr DWORD kEndMilliseconds = 10000;

std::wstring NorvExe() { return wintest::WindowsPath(NORV_EXE_PATH); }

// A message box exists a moment before its caption and text are set; it is read once shown.
std::optional<wintest::MessageBoxView> WaitForShownMessageBox(const ChildProcess& process) {
  const bool shown = wintest::WaitUntil(
      [&] {
        for (HWND box : wintest::TopWindowsOf(process.id(), L"#32770")) {
          if (IsWindowVisible(box)) return true;
        }
        return false;
      },
      kStartMilliseconds);
  if (!shown) return std::nullopt;
  return wintest::WaitForMessageBox(process.id(), 0);
}

TEST(NorvExeTest, WithoutDesktopIconsShowsTheMessageAndEnds) {
  for (const bool emptyDesktop : {false, true}) {
    SCOPED_TRACE(emptyDesktop ? "empty desktop" : "no desktop");
    wintest::EndLeftoverTestDesks();
    const auto desk =
        emptyDesktop ? wintest::TestDesk::Start(wintest::TestDeskOptions::Empty()) : nullptr;
    ASSERT_EQ(emptyDesktop, desk != nullptr);
    auto norv = ChildProcess::Start(NorvExe());
    ASSERT_TRUE(norv);
    const auto box = WaitForShownMessageBox(*norv);
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->title, u"Norvane");
    EXPECT_EQ(box->text, u"ｱｲｺﾝが見つかりませんでした。");
    // Style 48: an OK button alone.
    EXPECT_EQ(box->buttons.size(), 1u);
    EXPECT_NE(GetDlgItem(box->hwnd, IDOK), nullptr);
    // The program waits for the user and ends once the box is closed.
    EXPECT_FALSE(norv->WaitForExit(0));
    ASSERT_TRUE(wintest::PressButton(box->hwnd, IDOK));
    EXPECT_EQ(norv->WaitForExit(kEndMilliseconds), 0u);
  }
}

TEST(NorvExeTest, ASecondInstanceEndsAtOnceWhileTheFirstRuns) {
  wintest::EndLeftoverTestDesks();
  auto first = ChildProcess::Start(NorvExe());
  ASSERT_TRUE(first);
  // The first one holds its place while its message box is up.
  const auto box = WaitForShownMessageBox(*first);
  ASSERT_TRUE(box);

  auto second = ChildProcess::Start(NorvExe());
  ASSERT_TRUE(second);
  // Without the instance check it would show a box of its own and wait for the user.
  EXPECT_EQ(second->WaitForExit(kEndMilliseconds), 0u);
  EXPECT_TRUE(wintest::TopWindowsOf(second->id()).empty());

  ASSERT_TRUE(wintest::PressButton(box->hwnd, IDOK));
  EXPECT_EQ(first->WaitForExit(kEndMilliseconds), 0u);
}

}  // namespace
}  // namespace norv
