#pragma once

#include <functional>
#include <optional>

#include "commands/exit_code.h"

namespace norv {

class CommandOutput;
struct CommandRequest;

// Hands the command to the resident Norvane (its tray window "Norv_S") and prints its answer.
// nullopt when none runs. `residentStarting` says whether a resident program exists whose tray
// window may not be there yet; it is waited for, within bounds.
std::optional<ExitCode> SendToResident(const CommandRequest& request, CommandOutput& out,
                                       const std::function<bool()>& residentStarting);

}  // namespace norv
