#include "resident/resident_sequences.h"

#include <algorithm>
#include <utility>

#include "core/app_state.h"
#include "core/desktop_list_view.h"
#include "core/settings.h"
#include "core/user_messages.h"
#include "layout/layout_file.h"
#include "resident/tray_window_view.h"

namespace norv {
namespace {

std::u16string StartupSnapshotPath(const AppState& state) {
  return state.appDirectory + kStartupSnapshotName;
}

void PutIconsBackWhereTheyStarted(const IconTable& table, DesktopListView& desktop) {
  // Icons added since start-up have no initial position and stay where they are.
  const size_t count =
      std::min(static_cast<size_t>(std::max(table.itemCount, 0)), table.initialPositions.size());
  for (size_t i = 0; i < count; ++i) {
    const Point& start = table.initialPositions[i];
    desktop.SetItemPosition(static_cast<int32_t>(i), start.x, start.y);
  }
}

}  // namespace

bool BeginStartup(AppState& state, Services& services, std::u16string appDirectory) {
  state.table.firstSnapshotPending = true;
  state.appDirectory = std::move(appDirectory);
  LoadOptions(state, services.profile);
  return SnapshotDesktop(state.table, services);
}

void BringBackLastExit(AppState& state, Services& services) {
  if (state.reCover[0] != 1) return;
  ApplyLayoutFile(services.files, services.desktop, state.table, StartupSnapshotPath(state));
  SnapshotDesktop(state.table, services);
}

void RunExitSequence(AppState& state, Services& services, TrayWindowView& view) {
  // A snapshot that failed part-way leaves an older picture in the table; the file keeps the
  // last exit's arrangement rather than take one the desktop no longer shows.
  if (SnapshotDesktop(state.table, services)) {
    // Replaced in one step, so a failed write keeps the previous file whole.
    WriteLayoutFile(services.files, StartupSnapshotPath(state), state.table);
  }
  if (state.reCover[1] == 0) PutIconsBackWhereTheyStarted(state.table, services.desktop);
  UnloadTrayWindow(services, view);
}

void UnloadTrayWindow(Services& services, TrayWindowView& view) {
  view.RemoveTrayIcon();
  services.programEnd.EndNow();
}

}  // namespace norv
