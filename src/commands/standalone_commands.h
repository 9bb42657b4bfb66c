#pragma once

#include "commands/exit_code.h"

namespace norv {

struct AppState;
struct CommandRequest;
class CommandServices;
class DisplayPlatform;

// A command carried out by its own process because no resident Norvane runs: the saved-layout
// and display commands work on their own (the switch then for the next start); the others need
// the resident program (showing icons needs its start-up positions) and end with kNeedsResident.
ExitCode RunWithoutResident(const CommandRequest& request, AppState& state,
                            CommandServices& command, DisplayPlatform& displays);

}  // namespace norv
