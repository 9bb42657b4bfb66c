#include "core/app_state.h"
#include "core/desktop_list_view.h"
#include "core/icon_table.h"
#include "mainwindow/main_window.h"

namespace norv {

Point MainWindow::HidingPoint() const {
  return {state_.table.desktopRight + 50, state_.table.desktopBottom + 50};
}

void MainWindow::HideSelected() {
  const int sel = view_.SelectedRow();
  if (sel < 0) return;
  const Point hidingPoint = HidingPoint();
  services_.desktop.SetItemPosition(sel, hidingPoint.x, hidingPoint.y);
  SnapshotDesktop(state_.table, services_);
  RefillIconList();
  view_.SetTopRow(savedTopIndex_);
  SelectRow(sel);
  EnableAllIconsButtons();
}

void MainWindow::ShowSelected() {
  const int sel = view_.SelectedRow();
  if (sel < 0) return;
  // Icons the shell added since start-up have no initial position and stay where they are.
  const std::vector<Point>& initial = state_.table.initialPositions;
  if (static_cast<size_t>(sel) < initial.size()) {
    const Point home = initial[static_cast<size_t>(sel)];
    services_.desktop.SetItemPosition(sel, home.x, home.y);
  }
  SnapshotDesktop(state_.table, services_);
  RefillIconList();
  SelectRow(sel);
  EnableAllIconsButtons();
}

bool MainWindow::HideAll() {
  const Point hidingPoint = HidingPoint();
  // Already hidden icons are moved again: the state is not looked at.
  for (int32_t i = 0; i < state_.table.itemCount; ++i) {
    if (!services_.desktop.SetItemPosition(i, hidingPoint.x, hidingPoint.y)) return false;
  }
  if (!SnapshotDesktop(state_.table, services_)) return false;
  RefillIconList();
  SelectRow(0);
  EnableAllIconsButtons();
  return true;
}

bool MainWindow::ShowAll() {
  // Shown icons go back too, so icons dragged since start-up return to their places.
  const std::vector<Point>& initial = state_.table.initialPositions;
  const auto count = static_cast<size_t>(state_.table.itemCount);
  for (size_t i = 0; i < count && i < initial.size(); ++i) {
    if (!services_.desktop.SetItemPosition(static_cast<int32_t>(i), initial[i].x, initial[i].y)) {
      return false;
    }
  }
  if (!SnapshotDesktop(state_.table, services_)) return false;
  RefillIconList();
  EnableAllIconsButtons();
  return true;
}

}  // namespace norv
