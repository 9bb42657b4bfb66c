#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "resident/tray_window_view.h"

namespace norv::test {

// Records what the tray behaviour asks of its window; the menu answers from `menuChoice`.
class RecordingTrayView : public TrayWindowView {
 public:
  int iconAdds = 0;  // accepted ones
  int refusedAdds = 0;
  // The shell refuses this many adds before it accepts one.
  int addsToRefuse = 0;
  std::map<TrayTimer, int> timers;  // period of each running timer
  int iconRemoves = 0;
  int menusShown = 0;
  int mainWindowOpens = 0;
  std::optional<ScreenPoint> mainWindowOpenedFrom;
  int restoreDialogs = 0;
  std::vector<std::u16string> documents;

  TrayCommand menuChoice = TrayCommand::kNone;
  bool mainWindowOpen = false;
  std::optional<Point> cursor = Point{0, 0};
  bool documentOpens = true;
  bool insideOtherWork = false;  // e.g. a dialog or message box waits for the user
  int mainWindowRelists = 0;
  // Runs inside the restore dialog, as the user's actions there would.
  std::function<void()> duringRestoreDialog;

  bool IconPresent() const { return iconAdds > iconRemoves; }
  bool Running(TrayTimer timer) const { return timers.count(timer) != 0; }

  bool AddTrayIcon() override {
    if (addsToRefuse > 0) {
      --addsToRefuse;
      ++refusedAdds;
      return false;
    }
    ++iconAdds;
    return true;
  }
  void StartTimer(TrayTimer timer, int milliseconds) override { timers[timer] = milliseconds; }
  void StopTimer(TrayTimer timer) override { timers.erase(timer); }
  void RemoveTrayIcon() override { ++iconRemoves; }
  TrayCommand ChooseFromMenu() override {
    ++menusShown;
    return menuChoice;
  }
  std::optional<Point> CursorPosition() override { return cursor; }
  void OpenMainWindow(ScreenPoint from) override {
    ++mainWindowOpens;
    mainWindowOpenedFrom = from;
  }
  bool MainWindowOpen() override { return mainWindowOpen; }
  void ShowChangeInMainWindow() override { ++mainWindowRelists; }
  bool InsideOtherWork() override { return insideOtherWork; }
  void RunRestoreDialog() override {
    ++restoreDialogs;
    if (duringRestoreDialog) duringRestoreDialog();
  }
  bool OpenDocument(const std::u16string& path) override {
    documents.push_back(path);
    return documentOpens;
  }
};

}  // namespace norv::test
