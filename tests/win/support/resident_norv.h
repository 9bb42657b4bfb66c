#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "support/child_process.h"
#include "support/stand_in_notification_area.h"

namespace norv::wintest {

// Norv.exe resident, as the tests that use it through its tray icon start from.
struct ResidentNorv {
  ChildProcess process;
  HWND tray = nullptr;
};

// Starts Norv.exe in `folder` (which holds it) and waits until it is resident: its tray window
// exists and `area` holds its icon. Nullopt, with the reason in `error`, when `area` would not get
// the icon or the program did not get there in time.
std::optional<ResidentNorv> StartResidentNorv(const std::wstring& folder,
                                              const StandInNotificationArea& area,
                                              std::string* error);

// Waits for Norv.exe to end while this thread handles its messages: its last words go to the
// notification area of this thread. Its exit code; nullopt when it still runs.
std::optional<DWORD> WaitForNorvEnd(ChildProcess& norv, DWORD timeoutMs = 10000);

}  // namespace norv::wintest
