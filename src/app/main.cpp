#include <windows.h>

#include "app/command_process.h"
#include "app/startup.h"
#include "chrome/win32/chrome_window.h"
#include "core/app_state.h"
#include "core/win32/platform.h"
#include "resident/resident_sequences.h"
#include "resident/win32/tray_window.h"

int WINAPI wWinMain(HINSTANCE program, HINSTANCE, PWSTR, int) {
  norv::RestrictLibrarySearch();
  // With a command the program does it and ends; it never becomes resident.
  if (const auto arguments = norv::ProgramArguments(); !arguments.empty()) {
    return norv::RunCommandProcess(arguments);
  }
  const norv::SingleInstance instance;
  if (!instance.IsFirst()) return 0;

  // Before any window; a failure only costs the tooltips.
  static_cast<void>(norv::InitCommonControlsForChrome());
  norv::Win32Platform platform;
  norv::AppState state;
  norv::BeginStartup(state, platform.services(), norv::ProgramDirectory());
  // From here the program lives in the notification area until its menu ends it.
  return norv::RunTrayWindow(program, state, platform.services());
}
