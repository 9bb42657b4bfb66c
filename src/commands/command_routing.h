#pragma once

#include <optional>
#include <string>

#include "commands/command_line.h"
#include "commands/exit_code.h"

namespace norv {

class CommandOutput;

// The ways a command process can carry a command out.
class CommandRoutes {
 public:
  virtual ~CommandRoutes() = default;
  // The command handed to the resident Norvane, its answer printed; nullopt when none runs.
  virtual std::optional<ExitCode> Forward(const CommandRequest& request, CommandOutput& out) = 0;
  // The command carried out by this process alone.
  virtual ExitCode RunHere(const CommandRequest& request, CommandOutput& out) = 0;
  virtual ExitCode Diagnose(CommandOutput& out) = 0;
  // The folder the program lies in, on which the layout name rules depend.
  virtual std::u16string ProgramDirectory() = 0;
};

// Where a parsed command line goes: a bad line to the usage on standard error, /? to the usage,
// /diagnose always to this process (a resident Norvane and its windows are left alone), a refused
// layout name nowhere, and every other command to the resident Norvane or, when none runs, to
// this process.
ExitCode RouteCommand(const ParsedCommandLine& parsed, CommandOutput& out, CommandRoutes& routes);

}  // namespace norv
