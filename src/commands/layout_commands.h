#pragma once

#include <string_view>

#include "commands/exit_code.h"

namespace norv {

struct AppState;
class CommandOutput;
class CommandServices;

// The saved-layout commands, carried out alike by the resident Norvane and, when none runs, by the
// command's own process. Each prints one line saying what happened.

// The name rules of both, checked before the name reaches the file system (a separator or a
// device name never does): true, with the line that says why, when a program in `appDirectory`
// refuses `name`.
bool LayoutNameRefused(std::u16string_view appDirectory, std::u16string_view name,
                       CommandOutput& out);

// /save NAME: a snapshot written to NAME.ppx exactly as the save dialog writes it, under the same
// name rules. An existing layout is kept unless `overwrite`; then it is replaced in one step.
ExitCode SaveLayoutCommand(AppState& state, CommandServices& command, std::u16string_view name,
                           bool overwrite);

// /restore NAME: the layout applied as the restore dialog's "復帰" applies it, to a fresh snapshot,
// then a snapshot. NAME is a layout's file name without ".ppx", or the name /list shows for it
// when only one layout is shown under that name.
ExitCode RestoreLayoutCommand(AppState& state, CommandServices& command, std::u16string_view name);

// /list: the rows of the restore dialog's list, in its order: name, TAB, date.
ExitCode ListLayoutsCommand(AppState& state, CommandServices& command);

}  // namespace norv
