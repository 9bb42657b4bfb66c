#include "resident/commands/resident_commands.h"

#include "core/app_state.h"
#include "core/icon_table.h"
#include "core/settings.h"
#include "mainwindow/headless_main_window_view.h"
#include "mainwindow/main_window.h"
#include "resident/commands/command_line.h"
#include "resident/commands/command_output.h"
#include "resident/commands/command_services.h"
#include "resident/commands/command_texts.h"
#include "resident/commands/layout_commands.h"

namespace norv {
namespace {

namespace text = command_text;

ExitCode ThenShowInOpenMainWindow(ExitCode code, AppState& state, CommandServices& command,
                                  ResidentWindows& windows) {
  if (MainWindowView* view = windows.OpenMainWindowView()) {
    MainWindow(state, command.services(), *view).ShowOutsideChange();
  }
  return code;
}

// The all-icons button of the main window, pressed in it when it is open, else in a window
// nobody sees; a closed window writes its options itself, so they are written here.
ExitCode PressAllIconsButton(Command button, AppState& state, CommandServices& command,
                             ResidentWindows& windows) {
  Services& services = command.services();
  // Icons added since the last snapshot are included, and every index names today's icon.
  if (!SnapshotDesktop(state.table, services)) {
    command.out().Error(text::kNotRestoredUnreadable);
    return ExitCode::kDesktopUnreadable;
  }
  MainWindowView* openView = windows.OpenMainWindowView();
  HeadlessMainWindowView closedView;
  const auto optionsBefore = state.reCover;
  MainWindow(state, services, openView ? *openView : closedView).OnButtonReleased(button);
  if (!openView && state.reCover != optionsBefore && !SaveOptions(state, services.profile)) {
    command.out().Error(text::kOptionsNotSaved);
  }
  if (command.desktopFailed()) {
    command.out().Error(text::kMovesFailed);
    return ExitCode::kDesktopUnreadable;
  }
  command.out().Out(button == Command::kHideAll ? text::kAllHidden : text::kAllShown);
  return ExitCode::kDone;
}

}  // namespace

ExitCode RunInResident(const CommandRequest& request, AppState& state, CommandServices& command,
                       ResidentWindows& windows) {
  switch (request.kind) {
    case CommandKind::kSave:
      return ThenShowInOpenMainWindow(
          SaveLayoutCommand(state, command, request.name, request.overwrite), state, command,
          windows);
    case CommandKind::kRestore:
      return ThenShowInOpenMainWindow(RestoreLayoutCommand(state, command, request.name), state,
                                      command, windows);
    case CommandKind::kList:
      return ListLayoutsCommand(state, command);
    case CommandKind::kOpen:
      windows.OpenSettings();
      command.out().Out(text::kOpened);
      return ExitCode::kDone;
    case CommandKind::kHideAll:
      return PressAllIconsButton(Command::kHideAll, state, command, windows);
    case CommandKind::kShowAll:
      return PressAllIconsButton(Command::kShowAll, state, command, windows);
    default:
      return ExitCode::kBadCommandLine;
  }
}

}  // namespace norv
