#pragma once

#include <windows.h>

#include "commands/resident_commands.h"

namespace norv {

struct AppState;
struct Services;
class TrayWindow;
class TrayWindowView;

// The resident Norvane's end of the command line, in its tray window: a command process's request
// arrives as WM_COPYDATA, the answer's lines go back the same way to the window the request names,
// and the exit code is the reply.
//
// A command is carried out only while the program is free, asked as the tray asks it before it
// follows a new display (TrayWindow::Occupied). One that arrives while the menu, a dialog or a
// message box of ours waits for the user, or while the program waits on the shell, is answered
// "busy" and changes nothing; so a command never runs inside another piece of the program's work.
class CommandServer final : public ResidentWindows {
 public:
  CommandServer(AppState& state, Services& services, TrayWindow& tray, TrayWindowView& trayView)
      : state_(state), services_(services), tray_(tray), trayView_(trayView) {}

  // The start-up is over; until then a command process is told to ask again.
  void StartTaking() { taking_ = true; }
  // A WM_COPYDATA sent to the tray window `self` by `sender`.
  LRESULT Answer(HWND self, HWND sender, const COPYDATASTRUCT& data);

  bool MainWindowOpen() override;
  void ShowOutsideChange() override;
  void OpenSettings() override;
  DisplayFollower& Follower() override;
  void FollowDisplaysSwitched() override;

 private:
  AppState& state_;
  Services& services_;
  TrayWindow& tray_;
  TrayWindowView& trayView_;
  bool taking_ = false;
};

}  // namespace norv
