#pragma once

#include <windows.h>

#include "resident/commands/resident_commands.h"

namespace norv {

struct AppState;
struct Services;
class MainWindowSlot;
class TrayWindow;
class TrayWindowView;

// The resident Norvane's end of the command line, in its tray window: a command process's request
// arrives as WM_COPYDATA, the answer's lines go back the same way to the window the request names,
// and the exit code is the reply.
//
// A command is carried out only while the program is free: while its own message loop waits.
// One that arrives in the loop of a dialog, a message box or the tray menu, or while the program
// waits on the shell, is answered "busy" and changes nothing; so a command never runs inside
// another piece of the program's work.
class CommandServer final : public ResidentWindows {
 public:
  CommandServer(AppState& state, Services& services, TrayWindow& tray, TrayWindowView& trayView,
                MainWindowSlot& mainWindow)
      : state_(state),
        services_(services),
        tray_(tray),
        trayView_(trayView),
        mainWindow_(mainWindow) {}

  // GetMessageW for the program's own message loop, which is where the program is free.
  BOOL NextMessage(MSG& message);
  // A WM_COPYDATA sent to the tray window `self` by `sender`.
  LRESULT Answer(HWND self, HWND sender, const COPYDATASTRUCT& data);

  MainWindowView* OpenMainWindowView() override;
  void OpenSettings() override;

 private:
  AppState& state_;
  Services& services_;
  TrayWindow& tray_;
  TrayWindowView& trayView_;
  MainWindowSlot& mainWindow_;
  // The start-up is over once the loop has waited for the first time.
  bool started_ = false;
  bool free_ = false;
};

}  // namespace norv
