#include "support/resident_norv.h"

#include <shellapi.h>

#include <utility>

#include "commands/command_message.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv::wintest {

std::optional<ResidentNorv> StartResidentNorv(const std::wstring& folder,
                                              const StandInNotificationArea& area,
                                              std::string* error) {
  constexpr DWORD kStartMs = 15000;
  constexpr DWORD kIconMs = 10000;
  const auto fail = [&](const char* reason) -> std::optional<ResidentNorv> {
    if (error) *error = reason;
    return std::nullopt;
  };
  if (!area.IsTheOneFound()) return fail("another notification area would take the icon");
  std::optional<ChildProcess> process = ChildProcess::Start(folder + L"\\Norv.exe", {}, folder);
  if (!process) return fail("Norv.exe did not start");
  const HWND tray = WaitForTopWindow(kTrayWindowClass, nullptr, process->id(), kStartMs);
  if (!tray) return fail("Norv.exe did not become resident: no tray window");
  if (!WaitUntil([&] { return area.Count(NIM_ADD, tray) == 1; }, kIconMs)) {
    return fail("Norv.exe did not become resident: no tray icon");
  }
  return ResidentNorv{std::move(*process), tray};
}

std::optional<DWORD> WaitForNorvEnd(ChildProcess& norv, DWORD timeoutMs) {
  WaitUntil([&] { return !norv.running(); }, timeoutMs);
  return norv.WaitForExit(0);
}

}  // namespace norv::wintest
