#include "commands/standalone_commands.h"

#include "commands/command_line.h"
#include "commands/command_output.h"
#include "commands/command_services.h"
#include "commands/command_texts.h"
#include "commands/display_commands.h"
#include "commands/layout_commands.h"
#include "displays/display_follower.h"

namespace norv {

ExitCode RunWithoutResident(const CommandRequest& request, AppState& state,
                            CommandServices& command, DisplayPlatform& displays) {
  DisplayFollower follower(state, command.services(), displays);
  switch (request.kind) {
    case CommandKind::kSave:
      return SaveLayoutCommand(state, command, request.name, request.overwrite);
    case CommandKind::kRestore:
      return RestoreLayoutCommand(state, command, request.name);
    case CommandKind::kList:
      return ListLayoutsCommand(state, command);
    case CommandKind::kFollowDisplays:
      return FollowDisplaysCommand(state, command, follower, request.on, false);
    case CommandKind::kDisplays:
      return ListDisplaysCommand(command, follower);
    case CommandKind::kUndo:
      return UndoCommand(state, command, follower);
    default:
      command.out().Error(command_text::kNeedsResident);
      return ExitCode::kNeedsResident;
  }
}

}  // namespace norv
