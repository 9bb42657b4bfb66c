#include "resident/resident_sequences.h"

#include <utility>

#include "core/app_state.h"
#include "core/atomic_write_names.h"
#include "core/desktop_list_view.h"
#include "core/icon_moves.h"
#include "core/settings.h"
#include "core/user_messages.h"
#include "displays/display_arrangements.h"
#include "layout/layout_file.h"
#include "resident/tray_window_view.h"

namespace norv {
namespace {

// Long enough for a shell that is still starting when the logon starts the program.
constexpr int kFirstSnapshotAttempts = 10;
constexpr int kFirstSnapshotRetryMilliseconds = 1000;

std::u16string StartupSnapshotPath(const AppState& state) {
  return state.appDirectory + kStartupSnapshotName;
}

bool TakeFirstSnapshot(IconTable& table, Services& services) {
  for (int attempt = 1;; ++attempt) {
    if (SnapshotOrEndForNoIcons(table, services)) return true;
    if (attempt == kFirstSnapshotAttempts) return false;
    services.pause.Wait(kFirstSnapshotRetryMilliseconds);
  }
}

}  // namespace

bool BeginStartup(AppState& state, Services& services, std::u16string appDirectory) {
  state.table.firstSnapshotPending = true;
  state.appDirectory = std::move(appDirectory);
  LoadOptions(state, services.profile);
  RemoveLeftoverTemporaries(services.files, state.appDirectory);
  RemoveLeftoverTemporaries(services.files, state.appDirectory + kDisplaysFolderName,
                            {std::u16string_view(kDisplayIndexName).substr(1)});
  const bool taken = TakeFirstSnapshot(state.table, services);
  // A run killed while it moved icons may have left the desktop not painting them.
  services.desktop.EndMoveBatch();
  return taken;
}

void BringBackLastExit(AppState& state, Services& services) {
  if (!state.options.RestoresLastExitAtStart()) return;
  ApplyLayoutFile(state.table, services, StartupSnapshotPath(state));
  SnapshotOrEndForNoIcons(state.table, services);
}

void RunExitSequence(AppState& state, Services& services, TrayWindowView& view) {
  // A snapshot that failed part-way leaves an older picture in the table; the file keeps the
  // last exit's arrangement rather than take one the desktop no longer shows.
  const SnapshotOutcome taken = SnapshotDesktop(state.table, services);
  if (taken) {
    // Replaced in one step, so a failed write keeps the previous file whole.
    WriteLayoutFile(services.files, StartupSnapshotPath(state), state.table);
  }
  // A shell whose new desktop did not come while the snapshot waited has none to move icons on.
  if (!state.options.KeepsPositionsAtExit() && taken.found != DesktopFound::kNoView) {
    MoveIcons(state.table, services, MovesToStartupPositions, OnNewDesktop::kResendByIndex);
  }
  UnloadTrayWindow(services, view);
}

void UnloadTrayWindow(Services& services, TrayWindowView& view) {
  view.RemoveTrayIcon();
  services.programEnd.EndNow();
}

}  // namespace norv
