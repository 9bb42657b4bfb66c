#include "resident/tray_window.h"

#include "core/app_state.h"
#include "core/geometry.h"
#include "core/settings.h"
#include "core/user_messages.h"
#include "resident/display_change.h"
#include "resident/resident_sequences.h"
#include "resident/tray_window_view.h"

namespace norv {
namespace {

// Keeps a handler from being entered again while the menu or a modal dialog it opened still
// dispatches the shell's notifications.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

}  // namespace

void TrayWindow::Start() {
  BringBackLastExit(state_, services_);
  iconWanted_ = true;
  AddIcon();
}

void TrayWindow::AddIcon() {
  if (view_.AddTrayIcon()) {
    view_.StopTimer(TrayTimer::kIconRetry);
    return;
  }
  iconRetriesLeft_ = kIconRetries;
  view_.StartTimer(TrayTimer::kIconRetry, kIconRetryMilliseconds);
}

void TrayWindow::OnTimer(TrayTimer timer) {
  if (timer == TrayTimer::kIconRetry) TryIconAgain();
  if (timer == TrayTimer::kDisplayCheck) CheckDisplay();
}

void TrayWindow::TryIconAgain() {
  // Given up after a while; a notification area that appears later announces itself.
  if (!iconWanted_ || view_.AddTrayIcon() || --iconRetriesLeft_ <= 0) {
    view_.StopTimer(TrayTimer::kIconRetry);
  }
}

void TrayWindow::OnDisplayChanged() {
  // A change that comes while one is still followed is measured from the same area.
  if (!areaBefore_) areaBefore_ = state_.table.Desktop();
  displayChecksLeft_ = kDisplayChecks;
  view_.StartTimer(TrayTimer::kDisplayCheck, kDisplayCheckMilliseconds);
}

void TrayWindow::CheckDisplay() {
  // The desktop is left alone until what occupies the program has ended.
  if (!areaBefore_ || Occupied()) return;
  const bool followed = FollowDesktopArea(state_.table, services_, *areaBefore_);
  if (followed) view_.ShowChangeInMainWindow();
  if (followed || --displayChecksLeft_ <= 0) {
    areaBefore_.reset();
    view_.StopTimer(TrayTimer::kDisplayCheck);
  }
}

bool TrayWindow::Occupied() { return busy_ || view_.InsideOtherWork(); }

void TrayWindow::OnTrayMouse(uint32_t mouseMessage) {
  // A click can arrive while the program waits on the shell in the middle of other work.
  if (view_.MainWindowOpen() || Occupied() || mouseMessage != kRightButtonDown) return;
  TrayCommand command;
  {
    BusyScope scope(busy_);
    command = view_.ChooseFromMenu();
  }
  Run(command);
}

void TrayWindow::Run(TrayCommand command) {
  if (view_.MainWindowOpen() || busy_) return;
  BusyScope scope(busy_);
  switch (command) {
    case TrayCommand::kNone:
      break;
    case TrayCommand::kSettings:
      OpenSettings();
      break;
    case TrayCommand::kRestore:
      view_.RunRestoreDialog();
      // Whatever the user did in the dialog, the table follows the desktop.
      SnapshotDesktop(state_.table, services_);
      break;
    case TrayCommand::kHelp:
      ShowHelp();
      break;
    case TrayCommand::kExit:
      iconWanted_ = false;
      RunExitSequence(state_, services_, view_);
      break;
  }
}

void TrayWindow::OnShellRestarted() {
  if (iconWanted_) AddIcon();
}

void TrayWindow::Unload() {
  iconWanted_ = false;
  UnloadTrayWindow(services_, view_);
}

void TrayWindow::OpenSettings() {
  const std::optional<Point> cursor = view_.CursorPosition();
  view_.OpenMainWindow(cursor ? ScreenPoint{ClampTo16Bits(cursor->x), ClampTo16Bits(cursor->y)}
                              : ScreenPoint{});
}

void TrayWindow::ShowHelp() {
  const std::u16string path = state_.appDirectory + kHelpFileName;
  if (!FileExists(services_.files, path)) {
    services_.messages.Show(kHelpMissingMessage, MessageStyle::kExclamation, kMessageTitle);
  } else if (!view_.OpenDocument(path)) {
    services_.messages.Show(kHelpNotOpenedMessage, MessageStyle::kExclamation, kMessageTitle);
  }
}

}  // namespace norv
