#include "mainwindow/main_window.h"

#include "core/app_state.h"
#include "core/icon_moves.h"
#include "core/icon_table.h"
#include "core/settings.h"
#include "core/user_messages.h"
#include "mainwindow/icon_row.h"
#include "mainwindow/main_window_texts.h"

namespace norv {
namespace {

// About half a minute of retries; after that the next command tries again.
constexpr int kStaleRetryMilliseconds = 2000;
constexpr int kStaleRetries = 15;

}  // namespace

MainWindow::MainWindow(AppState& state, Services& services, MainWindowView& view)
    : state_(state), services_(services), view_(view) {}

void MainWindow::Load() {
  open_ = true;
  // The list shows the table as the last operation left it. Only while no snapshot has yet
  // succeeded (a shell still starting when the program did) is one taken, so the list never
  // shows an empty table for a desktop with icons.
  if (state_.table.firstSnapshotPending) TakeSnapshot();
  RefillIconList();
  ShowOptionPicture(0);
  ShowOptionPicture(1);
  DisableSelectedIconButtons();
  EnableAllIconsButtons();
  RecountLayoutsAndEnableRestore();
  view_.AnimateOpen();
}

void MainWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  // The options stay in memory either way and are written again at the next close.
  if (!SaveOptions(state_, services_.profile)) {
    services_.messages.Show(main_window_text::kOptionsNotSaved, MessageStyle::kExclamation,
                            kMessageTitle);
  }
  open_ = false;
  view_.StopRetryTimer();
  view_.UnloadDialogs();
  view_.DestroyView();
}

int16_t& MainWindow::OptionOfBox(int option) {
  return option == 0 ? state_.options.restoreLastExit : state_.options.keepPositionsAtExit;
}

void MainWindow::ToggleOption(int option) {
  int16_t& value = OptionOfBox(option);
  value = OptionToggled(value);
  ShowOptionPicture(option);
}

void MainWindow::ShowOptionPicture(int option) {
  if (const std::optional<bool> ticked = OptionTicked(OptionOfBox(option)))
    view_.SetOptionChecked(option, *ticked);
}

void MainWindow::SwitchOffKeepPositionsAtExit() {
  state_.options.keepPositionsAtExit = 0;
  view_.SetOptionChecked(1, false);
}

void MainWindow::ShowOutsideChange() {
  RefillIconList();
  ClearIconPreview();
  DisableSelectedIconButtons();
  ShowOptionPicture(0);
  ShowOptionPicture(1);
  EnableAllIconsButtons();
  RecountLayoutsAndEnableRestore();
}

void MainWindow::RefillIconList() { norv::RefillIconList(state_.table, view_); }

void MainWindow::SnapshotStarting() { view_.ClearRows(); }

void MainWindow::SnapshotTaken() { RefillIconList(); }

bool MainWindow::AutoArrange() {
  if (!ArrangeDesktopIcons(services_)) return false;
  if (!TakeSnapshot()) return false;
  RefillIconList();
  ClearIconPreview();
  return true;
}

void MainWindow::ShowIconPreview() {
  const int sel = view_.SelectedRow();
  if (sel < 0) return;
  const IconTable& table = state_.table;
  // A row beyond the table has nothing to draw and no state to judge.
  if (sel >= table.itemCount) return;
  const auto i = static_cast<size_t>(sel);
  view_.DrawIconPreview(TrimTrailingSpaces(table.texts[i]), table.imageIndexes[i]);
  const bool hidden = table.states[i] == IconState::kHidden;
  view_.SetButtonEnabled(Command::kHideSelected, !hidden);
  view_.SetButtonEnabled(Command::kShowSelected, hidden);
}

void MainWindow::ClearIconPreview() { view_.ClearIconPreview(); }

void MainWindow::SelectRow(int row) {
  view_.SelectRow(row);
  ShowIconPreview();
}

void MainWindow::EnableAllIconsButtons() {
  // A stale table's counts may be the opposite of the desktop's: both stay usable.
  view_.SetButtonEnabled(Command::kHideAll, tableStale_ || state_.table.shownCount != 0);
  view_.SetButtonEnabled(Command::kShowAll, tableStale_ || state_.table.hiddenCount != 0);
}

bool MainWindow::TakeSnapshot() {
  if (SnapshotOrEndForNoIcons(state_.table, services_)) {
    if (tableStale_) view_.StopRetryTimer();
    tableStale_ = false;
    return true;
  }
  tableStale_ = true;
  staleRetriesLeft_ = kStaleRetries;
  view_.StartRetryTimer(kStaleRetryMilliseconds);
  EnableAllIconsButtons();
  return false;
}

void MainWindow::OnRetryTimer() {
  if (commandRunning_ || !open_) return;
  // Only a shell that answers again is read; one that does not is left until the next tick.
  if (tableStale_ && DesktopAnswers(services_.desktop) && TakeSnapshot()) {
    ShowOutsideChange();
    return;
  }
  if (!tableStale_ || --staleRetriesLeft_ <= 0) view_.StopRetryTimer();
}

void MainWindow::DisableSelectedIconButtons() {
  view_.SetButtonEnabled(Command::kHideSelected, false);
  view_.SetButtonEnabled(Command::kShowSelected, false);
}

void MainWindow::RecountLayoutsAndEnableRestore() {
  RecountSavedLayouts(state_, services_.files);
  view_.SetButtonEnabled(Command::kRestore, state_.savedLayoutCount != 0);
}

}  // namespace norv
