#include <utility>

#include "core/app_state.h"
#include "core/icon_table.h"
#include "core/user_messages.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"

namespace norv {
namespace {

// Sets a flag for its scope, however the scope is left, and puts back what it was.
class RunningScope {
 public:
  explicit RunningScope(bool& flag) : flag_(flag), before_(std::exchange(flag, true)) {}
  ~RunningScope() { flag_ = before_; }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

// Every step runs whatever the one before it did: a failed operation still leaves the buttons
// and the preview in their follow-up state.
void MainWindow::OnButtonReleased(Command command) {
  const RunningScope running(commandRunning_);
  savedTopIndex_ = static_cast<int16_t>(view_.TopRow());
  switch (command) {
    case Command::kHideSelected:
      HideSelected();
      SwitchOffKeepPositionsAtExit();
      break;
    case Command::kShowSelected:
      ShowSelected();
      view_.SetTopRow(savedTopIndex_);
      break;
    case Command::kHideAll:
    case Command::kShowAll:
      ReleaseAllIconsButton(command);
      break;
    case Command::kAutoArrange:
      AutoArrange();
      DisableSelectedIconButtons();
      ClearIconPreview();
      break;
    case Command::kSave:
      view_.RunSaveDialog(*this);
      RecountLayoutsAndEnableRestore();
      DisableSelectedIconButtons();
      ClearIconPreview();
      break;
    case Command::kRestore:
      view_.RunRestoreDialog();
      TakeSnapshot();
      RefillIconList();
      RecountLayoutsAndEnableRestore();
      DisableSelectedIconButtons();
      ClearIconPreview();
      break;
    case Command::kToTray:
      ToTray();
      break;
  }
}

AllIconsOutcome MainWindow::ReleaseAllIconsButton(Command button) {
  const AllIconsOutcome outcome = button == Command::kHideAll ? HideAll() : ShowAll();
  DisableSelectedIconButtons();
  ClearIconPreview();
  if (button == Command::kHideAll) SwitchOffKeepPositionsAtExit();
  return outcome;
}

bool MainWindow::LastSnapshotHasHiddenIcon() const {
  const IconTable& table = state_.table;
  for (int32_t i = 0; i < table.itemCount; ++i) {
    if (table.states[static_cast<size_t>(i)] == IconState::kHidden) return true;
  }
  return false;
}

// While the exit keeps positions, hidden icons would stay hidden for good after the program ends,
// so the window refuses to go while the last snapshot holds one.
bool MainWindow::ToTray() {
  if (state_.options.KeepsPositionsAtExit() && LastSnapshotHasHiddenIcon()) {
    services_.messages.Show(main_window_text::kHiddenIconsRemain, MessageStyle::kExclamation,
                            kErrorTitle);
    return false;
  }
  view_.AnimateClose();
  Unload();
  return true;
}

}  // namespace norv
