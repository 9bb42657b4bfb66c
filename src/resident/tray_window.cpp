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
  // The configuration at start is settled like any other before anything is recorded.
  OnFollowSwitched();
  OnDisplayEvent();
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
  if (timer == TrayTimer::kDisplaySettle) SettleDisplays();
  if (timer == TrayTimer::kArrangementRecord) RecordFromTimer();
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
  OnDisplayEvent();
}

void TrayWindow::OnDisplayEvent() {
  follower_.OnDisplayEvent();
  if (follower_.Settling())
    view_.StartTimer(TrayTimer::kDisplaySettle, kDisplaySettleTickMilliseconds);
}

void TrayWindow::SettleDisplays() {
  if (Occupied()) return;
  const SettleDecision decision = follower_.OnTick();
  if (!follower_.Settling()) view_.StopTimer(TrayTimer::kDisplaySettle);
  if (decision == SettleDecision::kRestored) {
    // The known arrangement has put the hidden icons at the new corner already.
    areaBefore_.reset();
    view_.StopTimer(TrayTimer::kDisplayCheck);
    view_.ShowChangeInMainWindow();
  } else if (decision == SettleDecision::kReHide && !areaBefore_) {
    follower_.Record();
  }
}

void TrayWindow::RecordArrangement() { follower_.RecordTable(state_.table); }

void TrayWindow::RecordFromTimer() {
  // Not while a re-hide is still to come: the hidden icons may still lie inside the new area.
  if (!Occupied() && !areaBefore_) follower_.Record();
}

void TrayWindow::OnFollowSwitched() {
  if (follower_.On()) {
    view_.StartTimer(TrayTimer::kArrangementRecord, kArrangementRecordMilliseconds);
  } else {
    view_.StopTimer(TrayTimer::kArrangementRecord);
    view_.StopTimer(TrayTimer::kDisplaySettle);
  }
}

void TrayWindow::CheckDisplay() {
  // The desktop is left alone until what occupies the program has ended, and while following the
  // displays until the configuration has settled: a known arrangement replaces the re-hide.
  if (!areaBefore_ || Occupied() || follower_.Settling()) return;
  const DisplayFollow follow = FollowDesktopArea(state_.table, services_, *areaBefore_);
  if (follow != DisplayFollow::kAreaUnchanged) view_.ShowChangeInMainWindow();
  if (follow == DisplayFollow::kFollowed) follower_.RecordTable(state_.table);
  if (follow == DisplayFollow::kFollowed || --displayChecksLeft_ <= 0) {
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
      if (SnapshotOrEndForNoIcons(state_.table, services_)) RecordArrangement();
      break;
    case TrayCommand::kHelp:
      ShowHelp();
      break;
    case TrayCommand::kExit:
      iconWanted_ = false;
      follower_.Record();
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
