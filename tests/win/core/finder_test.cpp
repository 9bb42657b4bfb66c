#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/win32/list_view_desktop.h"
#include "support/test_desk.h"

namespace norv {
namespace {

// Shell-like windows made in this process: the finder looks only at classes and nesting.
class FakeShellWindows {
 public:
  FakeShellWindows() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    for (const wchar_t* name : {L"Progman", L"WorkerW", L"SHELLDLL_DefView"}) {
      WNDCLASSW windowClass{};
      windowClass.lpfnWndProc = DefWindowProcW;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.lpszClassName = name;
      RegisterClassW(&windowClass);
    }
  }
  ~FakeShellWindows() {
    // Top-level windows take their children with them.
    for (HWND window : topLevel_) DestroyWindow(window);
  }

  HWND Make(const wchar_t* className, HWND parent) {
    const HWND window = CreateWindowExW(0, className, L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 300,
                                        200, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    if (!parent) topLevel_.push_back(window);
    return window;
  }
  // SHELLDLL_DefView > SysListView32 under parent; returns the list view.
  HWND MakeView(HWND parent) { return Make(WC_LISTVIEWW, Make(L"SHELLDLL_DefView", parent)); }

 private:
  std::vector<HWND> topLevel_;
};

// The test desktop covers each place once; here the search has to pass WorkerW windows without
// a view first.
TEST(FindShellDesktopListViewTest, PassesWorkerWindowsWithoutAView) {
  {
    FakeShellWindows shell;
    shell.Make(L"Progman", nullptr);
    shell.Make(L"WorkerW", nullptr);
    const HWND view = shell.MakeView(shell.Make(L"WorkerW", nullptr));
    EXPECT_EQ(FindShellDesktopListView(), view);
  }
  {
    FakeShellWindows shell;
    const HWND progman = shell.Make(L"Progman", nullptr);
    shell.Make(L"WorkerW", progman);
    const HWND view = shell.MakeView(shell.Make(L"WorkerW", progman));
    EXPECT_EQ(FindShellDesktopListView(), view);
  }
}

TEST(FindShellDesktopListViewTest, WithoutAShellEveryRequestFailsQuietly) {
  wintest::EndLeftoverTestDesks();
  FakeShellWindows shell;
  // A view that is not the shell's is never taken for it.
  shell.MakeView(nullptr);
  shell.Make(L"Progman", nullptr);
  EXPECT_EQ(FindShellDesktopListView(), nullptr);

  ListViewDesktop desktop;
  EXPECT_FALSE(desktop.FindDesktopListView());
  EXPECT_EQ(desktop.GetItemCount(), 0);
  EXPECT_FALSE(desktop.ReadItems(1));
  desktop.BeginMoveBatch();
  EXPECT_FALSE(desktop.SetItemPosition(0, 10, 10));
  desktop.EndMoveBatch();
  EXPECT_FALSE(desktop.ArrangeIcons());
}

}  // namespace
}  // namespace norv
