// Times the main window's desktop operations on the test desktop, for 10, 100 and 1000 icons, on
// each way to it (list-view messages, and the folder view testdesk serves from its process): the
// requests or calls each one sends to the desktop, the operations on the view's memory, its wall
// time, that time against the time of as many bare requests or calls sent right after it, and how
// much of it went into moving icons, into the view's repaint and into reading the desktop. Every
// operation runs three times per size; the times printed are the medians. Not a test: it prints a
// table.
//
//   norv_benchmark [FOLDER]   (FOLDER receives the layout file; default: the temporary folder)
#include <windows.h>
// The shell's interfaces need the COM basics first.
#include <exdisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/desktop_list_view.h"
#include "core/icon_table.h"
#include "displays/display_follower.h"
#include "displays/display_platform.h"
#include "layout/layout_file.h"
#include "mainwindow/headless_main_window_view.h"
#include "mainwindow/icon_row.h"
#include "mainwindow/main_window.h"
#include "support/program_services.h"
#include "support/test_desk.h"

namespace norv {
namespace {

// One unchanging monitor: what recording the arrangement of the configuration in use costs is
// the desktop's part, not the monitors'.
class OneMonitor final : public DisplayPlatform {
 public:
  std::optional<DisplayConfiguration> ReadConfiguration() override {
    return DisplayConfiguration{{{u"BENCH", 1024, 768, 0, 0, 0, 96, true}}, false};
  }
  uint64_t Milliseconds() override { return GetTickCount64(); }
  std::u16string NowText() override { return u"2026/12/08 12:00:00"; }
  bool IconsAutoArranged() override { return false; }
};

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 3;

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

// The desktop's folder view, reached the way the program reaches it; nullptr when there is none.
Microsoft::WRL::ComPtr<IFolderView2> ReachFolderView() {
  using Microsoft::WRL::ComPtr;
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&windows)))) {
    return nullptr;
  }
  VARIANT location;
  VariantInit(&location);
  location.vt = VT_I4;
  location.lVal = CSIDL_DESKTOP;
  VARIANT root;
  VariantInit(&root);
  LONG window = 0;
  ComPtr<IDispatch> desktop;
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IFolderView2> folderView;
  if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &desktop) !=
          S_OK ||
      !desktop || FAILED(desktop.As(&services)) ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) ||
      FAILED(browser->QueryActiveShellView(&view)) || FAILED(view.As(&folderView))) {
    return nullptr;
  }
  return folderView;
}

// The cheapest call into the folder view there is, made `count` times.
double BareCalls(IFolderView2& view, uint32_t count) {
  const Clock::time_point start = Clock::now();
  for (uint32_t i = 0; i < count; ++i) {
    int items = 0;
    view.ItemCount(SVGIO_ALLVIEW, &items);
  }
  return Milliseconds(Clock::now() - start);
}

// The load of the machine the benchmark shares: under Wine the Linux host's load average shows
// through drive Z:; elsewhere it is not known.
std::string HostLoadAverage() {
  HANDLE file = CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "unknown";
  char text[64] = {};
  DWORD read = 0;
  ReadFile(file, text, sizeof text - 1, &read, nullptr);
  CloseHandle(file);
  // "0.52 0.58 0.59 1/123 4567": the 1, 5 and 15 minute averages come first.
  std::string averages(text, read);
  size_t end = 0;
  for (int field = 0; field < 3 && end != std::string::npos; ++field) {
    end = averages.find(' ', end + (field > 0 ? 1 : 0));
  }
  return averages.substr(0, end);
}

// Adds the time of its scope to a total.
class Stopwatch {
 public:
  explicit Stopwatch(double& total) : total_(total), start_(Clock::now()) {}
  ~Stopwatch() { total_ += Milliseconds(Clock::now() - start_); }
  Stopwatch(const Stopwatch&) = delete;
  Stopwatch& operator=(const Stopwatch&) = delete;

 private:
  double& total_;
  Clock::time_point start_;
};

// The view's repaint, now: what it still has to draw, it draws before this returns.
void RepaintNow(HWND view) {
  RedrawWindow(view, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The program's desktop bridge with a stopwatch on it: how much of an operation went into moving
// icons (the batch's begin and end included), into the view's repaint after a batch, and into
// reading the desktop.
class TimedDesktop final : public DesktopListView {
 public:
  TimedDesktop(DesktopListView& bridge, const ListViewDesktop& listView)
      : bridge_(bridge), listView_(listView) {}

  double moving = 0;
  double repainting = 0;
  double reading = 0;

  bool FindDesktopListView() override {
    const Stopwatch watch(reading);
    return bridge_.FindDesktopListView();
  }
  DesktopRect GetDesktopRect() override {
    const Stopwatch watch(reading);
    return bridge_.GetDesktopRect();
  }
  std::optional<int32_t> GetItemCount() override {
    const Stopwatch watch(reading);
    return bridge_.GetItemCount();
  }
  std::optional<std::vector<DesktopItem>> ReadItems(int32_t count) override {
    const Stopwatch watch(reading);
    return bridge_.ReadItems(count);
  }
  size_t MoveItems(std::span<const IconMove> moves) override {
    const Stopwatch watch(moving);
    return bridge_.MoveItems(moves);
  }
  void BeginMoveBatch() override {
    const Stopwatch watch(moving);
    bridge_.BeginMoveBatch();
  }
  void EndMoveBatch() override {
    {
      const Stopwatch watch(moving);
      bridge_.EndMoveBatch();
    }
    // The view would draw the moved icons at its next idle moment, in the middle of whichever
    // request comes next; drawing them now keeps that time apart.
    const Stopwatch watch(repainting);
    RepaintNow(listView_.handle());
  }
  bool ArrangeIcons() override { return bridge_.ArrangeIcons(); }
  bool ViewStillExists() override { return bridge_.ViewStillExists(); }

 private:
  DesktopListView& bridge_;
  const ListViewDesktop& listView_;
};

struct Sample {
  uint32_t requests = 0;
  RemoteMemoryCounts memory;
  double wall = 0;
  double bare = 0;
  double moving = 0;
  double reading = 0;
  double repaint = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

RemoteMemoryCounts Since(const RemoteMemoryCounts& now, const RemoteMemoryCounts& before) {
  return {now.allocations - before.allocations, now.writes - before.writes,
          now.reads - before.reads, now.releases - before.releases};
}

struct Bench {
  wintest::TestDesk& desk;
  const ListViewDesktop& listView;
  TimedDesktop& timed;
  HWND view;
  IFolderView2* folderView;  // the folder view's bare calls instead of list-view requests
  std::vector<std::string> order;
  std::map<std::string, std::vector<Sample>> samples;

  void Run(const std::string& operation, const std::function<void()>& work) {
    desk.ResetCounts();
    const RemoteMemoryCounts before = listView.remoteMemory();
    timed.moving = timed.repainting = timed.reading = 0;
    const Clock::time_point start = Clock::now();
    work();
    {
      // The operation is over once the desktop shows it.
      const Stopwatch watch(timed.repainting);
      RepaintNow(view);
    }
    Sample sample;
    sample.wall = Milliseconds(Clock::now() - start);
    sample.moving = timed.moving;
    sample.repaint = timed.repainting;
    sample.reading = timed.reading;
    sample.memory = Since(listView.remoteMemory(), before);
    const std::optional<wintest::DeskReport> report = desk.Report();
    sample.requests = report ? report->TotalRequests() + report->folderViewCalls : 0;
    // The bare requests go to the way the operation went (the program's find itself asks the list
    // view a little on the folder-view way too).
    sample.bare =
        folderView ? BareCalls(*folderView, sample.requests) : BareRequests(view, sample.requests);
    if (!samples.count(operation)) order.push_back(operation);
    samples[operation].push_back(sample);
  }

  void Print(int icons) const {
    for (const std::string& operation : order) {
      const std::vector<Sample>& runs = samples.at(operation);
      const auto median = [&](double Sample::*field) {
        std::vector<double> values;
        for (const Sample& run : runs) values.push_back(run.*field);
        return Median(values);
      };
      const double wall = median(&Sample::wall);
      const double bare = median(&Sample::bare);
      const Sample& first = runs.front();
      std::printf(
          "| %5d | %-9s | %8u | %d/%d/%d/%d | %9.1f | %9.1f | %5.2f | %7.1f | %7.1f | %7.1f |\n",
          icons, operation.c_str(), first.requests, first.memory.allocations, first.memory.writes,
          first.memory.reads, first.memory.releases, wall, bare, bare > 0 ? wall / bare : 0.0,
          median(&Sample::moving), median(&Sample::repaint), median(&Sample::reading));
    }
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

bool RunFor(int icons, wintest::DeskPath path, const std::u16string& folder) {
  std::string error;
  std::unique_ptr<wintest::TestDesk> desk =
      wintest::TestDesk::Start(wintest::TestDeskOptions::Generated(icons).On(path), &error);
  if (!desk) {
    std::fprintf(stderr, "test desktop: %s\n", error.c_str());
    return false;
  }
  std::printf("| %5d | %s, load average %s |\n", icons, wintest::NameOf(path),
              HostLoadAverage().c_str());
  Microsoft::WRL::ComPtr<IFolderView2> folderView;
  if (path == wintest::DeskPath::kFolderView && !(folderView = ReachFolderView())) {
    std::fprintf(stderr, "no folder view\n");
    return false;
  }

  wintest::ProgramServices program;
  TimedDesktop timed(program.bridge.desktop(), program.listView);
  Services services{
      timed, program.files, program.profile, program.messages, program.programEnd, program.pause};
  AppState state;
  state.appDirectory = folder;
  HeadlessMainWindowView headless;
  MainWindow window(state, services, headless);
  const std::u16string layout = LayoutPath(folder, u"benchmark");
  Bench bench{*desk, program.listView, timed, desk->ListView(), folderView.Get(), {}, {}};

  OneMonitor monitor;
  DisplayFollower follower(state, services, monitor);
  state.followDisplays = 1;

  state.table.firstSnapshotPending = true;
  SnapshotDesktop(state.table, services);
  window.Load();
  follower.SwitchedOn();
  for (int run = 0; run < kRuns; ++run) {
    bench.Run("snapshot", [&] { SnapshotDesktop(state.table, services); });
    // The periodic recording with nothing changed since the last: a snapshot of its own,
    // compared, not written.
    follower.Record();
    bench.Run("record", [&] { follower.Record(); });
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
  }
  bench.Print(icons);
  DeleteFileW(reinterpret_cast<const wchar_t*>(layout.c_str()));
  const std::u16string displays = folder + kDisplaysFolderName;
  for (const char16_t* name : {u"\\1.ppx", u"\\index.txt"})
    DeleteFileW(reinterpret_cast<const wchar_t*>((displays + name).c_str()));
  RemoveDirectoryW(reinterpret_cast<const wchar_t*>(displays.c_str()));
  return true;
}

}  // namespace
}  // namespace norv

int wmain(int argc, wchar_t** argv) {
  const std::u16string folder =
      argc > 1 ? std::u16string(reinterpret_cast<const char16_t*>(argv[1])) : norv::TempFolder();
  std::printf(
      "| icons | operation | requests | memory a/w/r/f | wall (ms) | bare (ms) | ratio "
      "| moving | repaint | reading |\n");
  std::printf(
      "|------:|-----------|---------:|---------------:|----------:|----------:|------:"
      "|-------:|--------:|--------:|\n");
  // The folder view's calls reach testdesk through COM, as the program's do.
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  for (const auto path :
       {norv::wintest::DeskPath::kListView, norv::wintest::DeskPath::kFolderView}) {
    for (int icons : {10, 100, 1000}) {
      if (!norv::RunFor(icons, path, folder)) return 1;
    }
  }
  CoUninitialize();
  return 0;
}
