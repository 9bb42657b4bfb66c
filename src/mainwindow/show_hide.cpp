#include "core/app_state.h"
#include "core/icon_moves.h"
#include "core/icon_table.h"
#include "mainwindow/main_window.h"

namespace norv {
namespace {

// The selected icon alone; on a desktop the shell has replaced meanwhile its index names another
// icon, so it is never moved there.
MoveOutcome MoveSelectedIcon(IconTable& table, Services& services, int sel, Point to) {
  return MoveIcons(
      table, services,
      [&](const IconTable&) {
        return std::vector<IconMove>{{sel, to}};
      },
      OnNewDesktop::kStop);
}

}  // namespace

void MainWindow::HideSelected() {
  const int sel = view_.SelectedRow();
  if (sel < 0) return;
  const MoveOutcome moved =
      MoveSelectedIcon(state_.table, services_, sel, state_.table.HidingPoint());
  TakeSnapshot();
  RefillIconList();
  view_.SetTopRow(savedTopIndex_);
  SelectRowUnlessOnNewDesktop(sel, moved);
  EnableAllIconsButtons();
}

void MainWindow::ShowSelected() {
  const int sel = view_.SelectedRow();
  if (sel < 0) return;
  // Icons the shell added since start-up have no initial position and stay where they are.
  const std::vector<Point>& initial = state_.table.initialPositions;
  MoveOutcome moved;
  if (static_cast<size_t>(sel) < initial.size()) {
    moved = MoveSelectedIcon(state_.table, services_, sel, initial[static_cast<size_t>(sel)]);
  }
  TakeSnapshot();
  RefillIconList();
  SelectRowUnlessOnNewDesktop(sel, moved);
  EnableAllIconsButtons();
}

AllIconsOutcome MainWindow::HideAll() {
  // Already hidden icons are moved again: the state is not looked at. Every icon goes to the same
  // point, so on a desktop the shell replaced meanwhile the moves are planned again.
  const MoveOutcome moved = MoveIcons(
      state_.table, services_,
      [](const IconTable& table) {
        std::vector<IconMove> moves;
        for (int32_t i = 0; i < table.itemCount; ++i) moves.push_back({i, table.HidingPoint()});
        return moves;
      },
      OnNewDesktop::kPlanAgain);
  // Even after a move that went undelivered the list shows the desktop as it now is.
  if (!TakeSnapshot()) return {moved, false};
  RefillIconList();
  SelectRow(0);
  EnableAllIconsButtons();
  return {moved, true};
}

AllIconsOutcome MainWindow::ShowAll() {
  // Shown icons go back too, so icons dragged since start-up return to their places.
  const MoveOutcome moved =
      MoveIcons(state_.table, services_, MovesToStartupPositions, OnNewDesktop::kResendByIndex);
  if (!TakeSnapshot()) return {moved, false};
  RefillIconList();
  EnableAllIconsButtons();
  return {moved, true};
}

void MainWindow::SelectRowUnlessOnNewDesktop(int row, const MoveOutcome& moved) {
  // The row would name another icon of the new desktop: the user chooses again.
  if (!moved.desktopReplaced) {
    SelectRow(row);
    return;
  }
  ClearIconPreview();
  DisableSelectedIconButtons();
}

}  // namespace norv
