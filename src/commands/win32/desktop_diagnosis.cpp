#include "commands/win32/desktop_diagnosis.h"

#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shellscalingapi.h>

#include <string>
#include <vector>

#include "commands/command_output.h"
#include "commands/diagnosis_texts.h"
#include "commands/icon_round_trip.h"
#include "core/geometry.h"
#include "core/win32/folder_view/desktop_bridge.h"
#include "core/win32/list_view_desktop.h"
#include "core/win32/wide_text.h"

namespace norv {
namespace {

namespace text = diagnosis_text;

constexpr UINT kRequestTimeoutMs = 3000;

std::u16string Decimal(int64_t value) { return DecimalText(value); }

// The real version even without a compatibility manifest entry for it; under Wine also Wine's.
std::u16string WindowsVersion() {
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  using WineVersionFunction = const char*(CDECL*)();
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  const auto getVersion = ntdll ? reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(
                                      GetProcAddress(ntdll, "RtlGetVersion")))
                                : nullptr;
  if (!getVersion || getVersion(&version) != 0) return std::u16string(text::kUnknown);
  std::u16string line =
      Concat({Decimal(version.dwMajorVersion), u".", Decimal(version.dwMinorVersion), text::kBuild,
              Decimal(version.dwBuildNumber)});
  const auto wineVersion = reinterpret_cast<WineVersionFunction>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
  if (wineVersion) {
    const std::string wine = wineVersion();
    line += u" (Wine " + std::u16string(wine.begin(), wine.end()) + u")";
  }
  return line;
}

std::u16string_view PathText(bool found, DesktopBridge& bridge) {
  if (!found) return text::kNoListViewPath;
  if (bridge.path() == DesktopPath::kFolderView) return text::kFolderViewPath;
  return bridge.folderView().ViewWindow() ? text::kListViewOtherFolderView
                                          : text::kListViewNoFolderView;
}

std::u16string ClassName(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return FromWide({name, static_cast<size_t>(length > 0 ? length : 0)});
}

// "Progman > SHELLDLL_DefView > SysListView32", from the top-level window down to the view.
std::u16string WindowChain(HWND view) {
  if (!view) return std::u16string(text::kNoWindowChain);
  std::vector<std::u16string> names;
  for (HWND window = view; window && window != GetDesktopWindow();
       window = GetAncestor(window, GA_PARENT)) {
    names.insert(names.begin(), ClassName(window));
  }
  std::u16string chain;
  for (const std::u16string& name : names) chain += (chain.empty() ? u"" : u" > ") + name;
  return chain;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM monitors) {
  reinterpret_cast<std::vector<HMONITOR>*>(monitors)->push_back(monitor);
  return TRUE;
}

void PrintMonitors(CommandOutput& out) {
  std::vector<HMONITOR> monitors;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  for (size_t i = 0; i < monitors.size(); ++i) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitors[i], &info)) continue;
    const RECT& r = info.rcMonitor;
    UINT dpiX = 0;
    UINT dpiY = 0;
    const bool dpiKnown = SUCCEEDED(GetDpiForMonitor(monitors[i], MDT_EFFECTIVE_DPI, &dpiX, &dpiY));
    out.Out(Concat({text::kMonitor, Decimal(static_cast<int64_t>(i) + 1),
                    (info.dwFlags & MONITORINFOF_PRIMARY) ? text::kPrimary : u"", u": ",
                    PointText({r.left, r.top}), u"-", PointText({r.right, r.bottom}), text::kDpi,
                    dpiKnown ? Decimal(dpiX) : std::u16string(text::kUnknown)}));
  }
}

std::u16string_view OnOff(bool on) { return on ? text::kOn : text::kOff; }

void PrintArrangeFlags(HWND view, CommandOutput& out) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(view, GWL_STYLE));
  out.Out(Concat({text::kAutoArrange, OnOff(style & LVS_AUTOARRANGE)}));
  DWORD_PTR extended = 0;
  const bool answered = SendMessageTimeoutW(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0,
                                            SMTO_ABORTIFHUNG, kRequestTimeoutMs, &extended) != 0;
  out.Out(
      Concat({text::kSnapToGrid, answered ? OnOff(extended & LVS_EX_SNAPTOGRID) : text::kUnknown}));
}

ExitCode Failed(CommandOutput& out, std::u16string_view what) {
  out.Out(Concat({text::kFailed, what}));
  return ExitCode::kDesktopUnreadable;
}

}  // namespace

ExitCode DiagnoseDesktop(CommandOutput& out) {
  out.Out(Concat({text::kWindows, WindowsVersion()}));
  // The same way to the desktop as the program takes, built here to ask it how it went.
  ListViewDesktop listView;
  DesktopBridge bridge(listView, [&listView] { return listView.handle(); });
  DesktopListView& desktop = bridge.desktop();
  const bool found = desktop.FindDesktopListView();
  out.Out(Concat({text::kPath, PathText(found, bridge)}));
  // Found the same way by the resident program, whose forwarded commands do not run inside the
  // message that brought them (no call into Explorer could be made from there).
  out.Out(Concat({text::kForwardedPath, text::kSamePathFromItsLoop}));
  out.Out(Concat({text::kWindowChain, WindowChain(listView.handle())}));
  const DesktopRect area = desktop.GetDesktopRect();
  out.Out(Concat({text::kDesktopArea, Decimal(area.right), text::kBottom, Decimal(area.bottom)}));
  PrintMonitors(out);
  if (!found) return Failed(out, text::kNoListView);
  PrintArrangeFlags(listView.handle(), out);

  const std::optional<int32_t> count = desktop.GetItemCount();
  out.Out(Concat({text::kIconCount, count ? Decimal(*count) : std::u16string(text::kUnknown)}));
  if (!count) return Failed(out, text::kCountUnanswered);
  if (*count <= 0) return Failed(out, text::kNoIcons);
  const std::optional<std::vector<DesktopItem>> first = desktop.ReadItems(1);
  if (!first || first->empty()) return Failed(out, text::kFirstIconUnread);
  const DesktopItem& icon = first->front();
  out.Out(Concat({text::kFirstIcon, PrintableText(icon.text), u"」 ", PointText(icon.position)}));

  if (const auto failure = RoundTripFirstIcon(desktop, icon.position, HidingPointOf(area), out)) {
    return Failed(out, *failure);
  }
  out.Out(text::kOk);
  return ExitCode::kDone;
}

}  // namespace norv
