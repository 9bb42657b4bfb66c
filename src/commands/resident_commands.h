#pragma once

#include "commands/exit_code.h"

namespace norv {

struct AppState;
struct CommandRequest;
class CommandServices;
class DisplayFollower;

// What the resident program's commands need of its windows.
class ResidentWindows {
 public:
  virtual ~ResidentWindows() = default;
  // From the main window's load until its unload has written the options.
  virtual bool MainWindowOpen() = 0;
  // An open main window shows what a command changed, as it shows a new display; nothing when
  // none is open.
  virtual void ShowOutsideChange() = 0;
  // What "設定..." does; an open main window comes to the front instead.
  virtual void OpenSettings() = 0;
  // The arrangements that follow the displays.
  virtual DisplayFollower& Follower() = 0;
  // After /follow-displays: the timers that serve following start or stop.
  virtual void FollowDisplaysSwitched() = 0;
};

// A command handed to the resident Norvane, carried out with the code its windows run, so that
// its last snapshot, its start-up positions and an open main window stay right: the layouts as the
// save dialog and "復帰", /hide-all and /show-all as the main window's all-icons buttons, options
// included. An open main window then shows the result.
ExitCode RunInResident(const CommandRequest& request, AppState& state, CommandServices& command,
                       ResidentWindows& windows);

}  // namespace norv
