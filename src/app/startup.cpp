#include "app/startup.h"

#include "core/app_state.h"
#include "core/settings.h"
#include "core/win32/platform.h"

namespace norv {
namespace {
// Local\: one instance per user session, not per machine.
constexpr wchar_t kInstanceMutexName[] = L"Local\\Norvane.Norv.SingleInstance";
}  // namespace

void RestrictLibrarySearch() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Also takes the current directory out of the search for any load that names no flags.
  SetDllDirectoryW(L"");
}

// If the mutex cannot be made at all, running is better than refusing to start.
SingleInstance::SingleInstance()
    : mutex_(CreateMutexW(nullptr, FALSE, kInstanceMutexName)),
      first_(!(mutex_.valid() && GetLastError() == ERROR_ALREADY_EXISTS)) {}

bool SingleInstance::HeldElsewhere() {
  const ScopedHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName));
  return mutex.valid();
}

void PrepareStartupState(AppState& state, ProfileFile& profile) {
  state.mainWindowOpen = false;
  state.table.firstSnapshotPending = true;
  state.appDirectory = ProgramDirectory();
  LoadOptions(state, profile);
}

}  // namespace norv
