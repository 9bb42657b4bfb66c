#include "commands/display_commands.h"

#include "commands/command_output.h"
#include "commands/command_services.h"
#include "commands/command_texts.h"
#include "core/app_state.h"
#include "core/icon_moves.h"
#include "core/icon_table.h"
#include "core/settings.h"
#include "displays/display_follower.h"

namespace norv {

namespace text = command_text;

ExitCode FollowDisplaysCommand(AppState& state, CommandServices& command, DisplayFollower& follower,
                               bool on, bool resident) {
  const int16_t before = state.followDisplays;
  state.followDisplays = on ? 1 : 0;
  if (!SaveFollowDisplays(state, command.services().profile)) {
    if (!resident) {
      state.followDisplays = before;
      command.out().Error(text::kFollowNotSaved);
      return ExitCode::kLayoutRefused;
    }
    command.out().Error(text::kOptionsNotSaved);
  }
  if (resident && on && before != 1) follower.SwitchedOn();
  command.out().Out(on ? text::kFollowOn : text::kFollowOff);
  if (!resident) command.out().Out(text::kFollowNextStart);
  return ExitCode::kDone;
}

ExitCode ListDisplaysCommand(CommandServices& command, DisplayFollower& follower) {
  const std::optional<std::u16string> current = follower.KeyInUse();
  for (const DisplayEntry& entry : follower.arrangements().Entries()) {
    std::u16string line =
        Concat({PrintableText(entry.label), u"\t", PrintableText(entry.lastUsed)});
    if (entry.key == current) line += Concat({u"\t", text::kCurrentDisplays});
    command.out().Out(line);
  }
  return ExitCode::kDone;
}

ExitCode UndoCommand(AppState& state, CommandServices& command, DisplayFollower& follower) {
  const std::vector<LayoutRecord> records = follower.UndoArrangement();
  if (records.empty()) {
    command.out().Error(text::kNothingToUndo);
    return ExitCode::kLayoutRefused;
  }
  // Matched by text to the desktop as it is now, as a layout is restored.
  if (!command.Snapshot(state.table, text::kNothingMoved)) return ExitCode::kDesktopUnreadable;
  Services& services = command.services();
  const MoveOutcome moved = MoveIcons(
      state.table, services, [&](const IconTable& now) { return PlanLayoutMoves(records, now); },
      OnNewDesktop::kPlanAgain);
  if (!command.MovesDone(moved, bool(SnapshotDesktop(state.table, services)))) {
    return ExitCode::kDesktopUnreadable;
  }
  follower.UndoDone(state.table);
  command.out().Out(text::kUndone);
  return ExitCode::kDone;
}

}  // namespace norv
