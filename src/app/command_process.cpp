#include "app/command_process.h"

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include "app/startup.h"
#include "commands/command_line.h"
#include "commands/command_services.h"
#include "commands/command_texts.h"
#include "commands/standalone_commands.h"
#include "commands/win32/command_client.h"
#include "commands/win32/console_output.h"
#include "commands/win32/desktop_diagnosis.h"
#include "core/app_state.h"
#include "core/win32/platform.h"
#include "displays/win32/win32_display_platform.h"

namespace norv {
namespace {

void PrintUsage(CommandOutput& out, OutputStream stream) {
  for (std::u16string_view line : command_text::kUsage) out.Write(stream, line);
}

ExitCode RunInThisProcess(const CommandRequest& request, CommandOutput& out) {
  Win32Platform platform;
  AppState state;
  state.appDirectory = ProgramDirectory();
  Win32DisplayPlatform displays;
  CommandServices command(platform.services(), out);
  return RunWithoutResident(request, state, command, displays);
}

ExitCode Run(const ParsedCommandLine& parsed, CommandOutput& out) {
  switch (parsed.request.kind) {
    case CommandKind::kInvalid:
      out.Error(parsed.error);
      PrintUsage(out, OutputStream::kError);
      return ExitCode::kBadCommandLine;
    case CommandKind::kUsage:
      PrintUsage(out, OutputStream::kOut);
      return ExitCode::kDone;
    case CommandKind::kDiagnose:
      // Always here, so that a resident Norvane and its windows are left alone.
      return DiagnoseDesktop(out);
    default:
      break;
  }
  if (const auto answered = SendToResident(parsed.request, out, &SingleInstance::HeldElsewhere)) {
    return *answered;
  }
  return RunInThisProcess(parsed.request, out);
}

}  // namespace

std::vector<std::u16string> ProgramArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::u16string> list;
  for (int i = 1; arguments && i < count; ++i) list.push_back(FromWide(arguments[i]));
  LocalFree(arguments);
  return list;
}

int RunCommandProcess(const std::vector<std::u16string>& arguments) {
  ConsoleOutput out;
  return static_cast<int>(Run(ParseCommandLine(arguments), out));
}

}  // namespace norv
