#include "app/command_process.h"

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include "app/startup.h"
#include "commands/command_line.h"
#include "commands/command_routing.h"
#include "commands/command_services.h"
#include "commands/standalone_commands.h"
#include "commands/win32/command_client.h"
#include "commands/win32/console_output.h"
#include "commands/win32/desktop_diagnosis.h"
#include "core/app_state.h"
#include "core/win32/platform.h"

namespace norv {
namespace {

// The resident program through its tray window, this process on the real desktop and files.
class Win32CommandRoutes final : public CommandRoutes {
 public:
  std::optional<ExitCode> Forward(const CommandRequest& request, CommandOutput& out) override {
    return SendToResident(request, out, &SingleInstance::HeldElsewhere);
  }
  ExitCode RunHere(const CommandRequest& request, CommandOutput& out) override {
    Win32Platform platform;
    AppState state;
    state.appDirectory = norv::ProgramDirectory();
    CommandServices command(platform.services(), out);
    return RunWithoutResident(request, state, command);
  }
  ExitCode Diagnose(CommandOutput& out) override { return DiagnoseDesktop(out); }
  std::u16string ProgramDirectory() override { return norv::ProgramDirectory(); }
};

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
  Win32CommandRoutes routes;
  return static_cast<int>(RouteCommand(ParseCommandLine(arguments), out, routes));
}

}  // namespace norv
