#pragma once

#include <windows.h>

#include <optional>

#include "commands/command_line.h"
#include "commands/resident_commands.h"

namespace norv {

struct AppState;
struct Services;
class TrayWindow;
class TrayWindowView;

// The message the tray window posts itself to carry out a command it took.
inline constexpr UINT kRunTakenCommandMessage = WM_APP + 2;

// The resident Norvane's end of the command line, in its tray window: a command process's request
// arrives as WM_COPYDATA and is only checked and taken there (the reply says so). The command is
// carried out from the program's own message loop, as a button's is: a thread that handles a
// message another process sent may make no call into another process (Explorer's folder view).
// Its answer's lines, then its exit code, go back as WM_COPYDATA to the window the request names.
//
// A command is taken only while the program is free, asked as the tray asks it before it follows
// a new display (TrayWindow::Occupied), and only one at a time. One that arrives while the menu, a
// dialog or a message box of ours waits for the user, while the program waits on the shell, or
// while another command is taken, is answered "busy" at once and changes nothing; so a command
// never runs inside another piece of the program's work.
class CommandServer final : public ResidentWindows {
 public:
  CommandServer(AppState& state, Services& services, TrayWindow& tray, TrayWindowView& trayView)
      : state_(state), services_(services), tray_(tray), trayView_(trayView) {}

  // The start-up is over; until then a command process is told to ask again.
  void StartTaking() { taking_ = true; }
  // A WM_COPYDATA sent to the tray window `self` by `sender`.
  LRESULT Answer(HWND self, HWND sender, const COPYDATASTRUCT& data);
  // The kRunTakenCommandMessage the tray window `self` posted itself.
  void RunTaken(HWND self);

  bool MainWindowOpen() override;
  void ShowOutsideChange() override;
  void OpenSettings() override;

 private:
  AppState& state_;
  Services& services_;
  TrayWindow& tray_;
  TrayWindowView& trayView_;
  bool taking_ = false;
  // The command taken and not yet answered, and the window its answer goes to.
  std::optional<CommandRequest> taken_;
  HWND answerTo_ = nullptr;
};

}  // namespace norv
