#pragma once

#include "resident/commands/exit_code.h"

namespace norv {

struct AppState;
struct CommandRequest;
class CommandServices;
class MainWindowView;

// What the resident program's commands need of its windows.
class ResidentWindows {
 public:
  virtual ~ResidentWindows() = default;
  // The main window's view while it is open, else nullptr.
  virtual MainWindowView* OpenMainWindowView() = 0;
  // What "設定..." does; an open main window comes to the front instead.
  virtual void OpenSettings() = 0;
};

// A command handed to the resident Norvane, carried out as its windows would carry it out, so
// that its last snapshot, its start-up positions and an open main window stay right: the layouts
// as the save dialog and "復帰" (the window then shows the result as after its own "復帰"),
// /hide-all and /show-all as the main window's all-icons buttons, options included.
ExitCode RunInResident(const CommandRequest& request, AppState& state, CommandServices& command,
                       ResidentWindows& windows);

}  // namespace norv
