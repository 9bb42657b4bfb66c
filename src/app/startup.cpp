#include "app/startup.h"

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

}  // namespace norv
