// Times the main window's desktop operations on the test desktop, for 10, 100 and 1000 icons:
// the requests each one sends to the desktop view, its wall time, and that time against the
// time of as many bare requests sent right after it. Not a test: it prints a table.
//
//   norv_benchmark [FOLDER]   (FOLDER receives the layout file; default: the temporary folder)
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/icon_table.h"
#include "core/win32/platform.h"
#include "layout/layout_file.h"
#include "mainwindow/headless_main_window_view.h"
#include "mainwindow/icon_row.h"
#include "mainwindow/main_window.h"
#include "support/test_desk.h"

namespace norv {
namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The cheapest request there is, sent `count` times: what the requests alone cost.
double BareRequests(HWND view, uint32_t count) {
  const Clock::time_point start = Clock::now();
  for (uint32_t i = 0; i < count; ++i) {
    DWORD_PTR items = 0;
    SendMessageTimeoutW(view, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &items);
  }
  return Milliseconds(Clock::now() - start);
}

struct Bench {
  wintest::TestDesk& desk;
  HWND view;
  int icons;

  void Run(const char* operation, const std::function<void()>& work) {
    desk.ResetCounts();
    const Clock::time_point start = Clock::now();
    work();
    const double wall = Milliseconds(Clock::now() - start);
    const std::optional<wintest::DeskReport> report = desk.Report();
    const uint32_t requests = report ? report->TotalRequests() : 0;
    const double bare = BareRequests(view, requests);
    std::printf("| %5d | %-9s | %8u | %9.1f | %9.1f | %5.2f |\n", icons, operation, requests, wall,
                bare, bare > 0 ? wall / bare : 0.0);
    std::fflush(stdout);
  }
};

std::u16string TempFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetTempPathW(MAX_PATH, folder);
  std::u16string path(reinterpret_cast<const char16_t*>(folder), length);
  if (!path.empty() && path.back() == u'\\') path.pop_back();
  return path;
}

bool RunFor(int icons, const std::u16string& folder) {
  std::string error;
  std::unique_ptr<wintest::TestDesk> desk =
      wintest::TestDesk::Start(wintest::TestDeskOptions::Generated(icons), &error);
  if (!desk) {
    std::fprintf(stderr, "test desktop: %s\n", error.c_str());
    return false;
  }
  HWND view = desk->ListView();

  Win32Platform platform;
  Services& services = platform.services();
  AppState state;
  state.appDirectory = folder;
  HeadlessMainWindowView headless;
  MainWindow window(state, services, headless);
  const std::u16string layout = LayoutPath(folder, u"benchmark");
  Bench bench{*desk, view, icons};

  state.table.firstSnapshotPending = true;
  bench.Run("snapshot", [&] { SnapshotDesktop(state.table, services); });
  window.Load();
  bench.Run("hide all", [&] { window.HideAll(); });
  bench.Run("show all", [&] { window.ShowAll(); });
  // As the save dialog does: a fresh snapshot, the list rebuilt from it, the file written.
  bench.Run("save", [&] {
    SnapshotDesktop(state.table, services);
    RefillIconList(state.table, headless);
    WriteLayoutFile(services.files, layout, state.table);
  });
  window.HideAll();
  // As the restore command does: every record applied, then a snapshot and the list rebuilt.
  bench.Run("restore", [&] {
    ApplyLayoutFile(state.table, services, layout);
    SnapshotDesktop(state.table, services);
    window.RefillIconList();
  });
  DeleteFileW(reinterpret_cast<const wchar_t*>(layout.c_str()));
  return true;
}

}  // namespace
}  // namespace norv

int wmain(int argc, wchar_t** argv) {
  const std::u16string folder =
      argc > 1 ? std::u16string(reinterpret_cast<const char16_t*>(argv[1])) : norv::TempFolder();
  std::printf("| icons | operation | requests | wall (ms) | bare (ms) | ratio |\n");
  std::printf("|------:|-----------|---------:|----------:|----------:|------:|\n");
  for (int icons : {10, 100, 1000}) {
    if (!norv::RunFor(icons, folder)) return 1;
  }
  return 0;
}
