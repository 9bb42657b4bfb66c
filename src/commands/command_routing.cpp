#include "commands/command_routing.h"

#include "commands/command_output.h"
#include "commands/command_texts.h"
#include "commands/layout_commands.h"

namespace norv {
namespace {

void PrintUsage(CommandOutput& out, OutputStream stream) {
  for (std::u16string_view line : command_text::kUsage) out.Write(stream, line);
}

}  // namespace

ExitCode RouteCommand(const ParsedCommandLine& parsed, CommandOutput& out, CommandRoutes& routes) {
  switch (parsed.request.kind) {
    case CommandKind::kInvalid:
      out.Error(parsed.error);
      PrintUsage(out, OutputStream::kError);
      return ExitCode::kBadCommandLine;
    case CommandKind::kUsage:
      PrintUsage(out, OutputStream::kOut);
      return ExitCode::kDone;
    case CommandKind::kDiagnose:
      return routes.Diagnose(out);
    case CommandKind::kSave:
    case CommandKind::kRestore:
      // The same rules whoever carries the command out, so the same answer with or without a
      // resident program (which could not take a request with a name of any length).
      if (LayoutNameRefused(routes.ProgramDirectory(), parsed.request.name, out)) {
        return ExitCode::kLayoutRefused;
      }
      break;
    default:
      break;
  }
  if (const std::optional<ExitCode> answered = routes.Forward(parsed.request, out)) {
    return *answered;
  }
  return routes.RunHere(parsed.request, out);
}

}  // namespace norv
