#pragma once

#include "commands/exit_code.h"

namespace norv {

struct AppState;
class CommandServices;
class DisplayFollower;

// The commands of arrangements that follow the displays, carried out alike by the resident
// Norvane (with its follower) and, when none runs, by the command's own process.

// /follow-displays on|off: the switch in Norv.ini. `resident` says whether the program that
// follows is this one; otherwise the switch takes effect at the next start.
ExitCode FollowDisplaysCommand(AppState& state, CommandServices& command, DisplayFollower& follower,
                               bool on, bool resident);

// /displays: the configurations known, most recently used first: label, TAB, date, and TAB and
// "現在" after the one in use.
ExitCode ListDisplaysCommand(CommandServices& command, DisplayFollower& follower);

// /undo: the icons back where they stood just before the last automatic restore.
ExitCode UndoCommand(AppState& state, CommandServices& command, DisplayFollower& follower);

}  // namespace norv
