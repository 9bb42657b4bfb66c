#include "support/tray_menu_driver.h"

#include "resident/win32/tray_window.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv::wintest {

void SendTrayMouse(HWND tray, UINT mouseMessage) {
  PostMessageW(tray, kTrayCallbackMessage, kTrayIconId, mouseMessage);
}

HWND VisibleTrayMenu(HWND tray) {
  DWORD processId = 0;
  GetWindowThreadProcessId(tray, &processId);
  for (HWND menu : TopWindowsOf(processId, L"#32768"))
    if (IsWindowVisible(menu)) return menu;
  return nullptr;
}

HWND OpenTrayMenu(HWND tray, DWORD timeoutMs) {
  SendTrayMouse(tray, WM_RBUTTONDOWN);
  // The menu is up once it shows and its loop has taken the mouse; a key or click before that
  // would miss the menu.
  HWND menu = nullptr;
  WaitUntil(
      [&] {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        return (menu = VisibleTrayMenu(tray)) != nullptr &&
               GetGUIThreadInfo(GetWindowThreadProcessId(tray, nullptr), &thread) &&
               (thread.flags & GUI_INMENUMODE) != 0 && thread.hwndCapture != nullptr;
      },
      timeoutMs);
  return menu;
}

bool ChooseTrayEntry(HWND tray, int entry, DWORD timeoutMs) {
  HWND menu = OpenTrayMenu(tray, timeoutMs);
  if (!menu) return false;
  for (int i = 0; i < entry; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  return true;
}

}  // namespace norv::wintest
