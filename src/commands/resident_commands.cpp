#include "commands/resident_commands.h"

#include "commands/command_line.h"
#include "commands/command_output.h"
#include "commands/command_services.h"
#include "commands/command_texts.h"
#include "commands/display_commands.h"
#include "commands/layout_commands.h"
#include "core/app_state.h"
#include "core/settings.h"
#include "mainwindow/headless_main_window_view.h"
#include "mainwindow/main_window.h"

namespace norv {
namespace {

namespace text = command_text;

ExitCode ThenShowInMainWindow(ExitCode code, ResidentWindows& windows) {
  windows.ShowOutsideChange();
  return code;
}

// The all-icons button, released in a main window nobody sees, with what the command process
// sees instead of message boxes; the open window, if any, then shows the result. A closed window
// writes its options itself, so they are written here.
ExitCode ReleaseAllIconsButton(Command button, AppState& state, CommandServices& command,
                               ResidentWindows& windows) {
  // The moves plan again only on a desktop the shell replaced; icons added or deleted since the
  // last snapshot shift the indexes in place. A user presses the button on the list they see; a
  // command starts from a snapshot of its own, so new icons are included and no index is stale.
  if (!command.Snapshot(state.table, text::kNothingMoved)) return ExitCode::kDesktopUnreadable;
  HeadlessMainWindowView unseen;
  const Options optionsBefore = state.options;
  const AllIconsOutcome outcome =
      MainWindow(state, command.services(), unseen).ReleaseAllIconsButton(button);
  windows.ShowOutsideChange();
  if (!windows.MainWindowOpen() && state.options != optionsBefore &&
      !SaveOptions(state, command.services().profile)) {
    command.out().Error(text::kOptionsNotSaved);
  }
  if (!command.MovesDone(outcome.moved, outcome.snapshotTaken)) {
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
      return ThenShowInMainWindow(
          SaveLayoutCommand(state, command, request.name, request.overwrite), windows);
    case CommandKind::kRestore:
      return ThenShowInMainWindow(RestoreLayoutCommand(state, command, request.name), windows);
    case CommandKind::kList:
      return ListLayoutsCommand(state, command);
    case CommandKind::kOpen:
      windows.OpenSettings();
      command.out().Out(text::kOpened);
      return ExitCode::kDone;
    case CommandKind::kHideAll:
      return ReleaseAllIconsButton(Command::kHideAll, state, command, windows);
    case CommandKind::kShowAll:
      return ReleaseAllIconsButton(Command::kShowAll, state, command, windows);
    case CommandKind::kFollowDisplays: {
      const ExitCode code =
          FollowDisplaysCommand(state, command, windows.Follower(), request.on, true);
      windows.FollowDisplaysSwitched();
      return code;
    }
    case CommandKind::kDisplays:
      return ListDisplaysCommand(command, windows.Follower());
    case CommandKind::kUndo:
      return ThenShowInMainWindow(UndoCommand(state, command, windows.Follower()), windows);
    default:
      return ExitCode::kBadCommandLine;
  }
}

}  // namespace norv
