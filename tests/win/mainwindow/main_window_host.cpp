// Opens the main window against the desktop that is running (the test desktop), as the tray's
// settings entry does once the program has started, and runs until the window is unloaded.
//
//   norv_mainwindow_host [--folder DIR] [--menu-point X Y] [--desktop-files]
//
// DIR stands for the program's folder (settings and layouts; default: this program's folder).
// --desktop-files first puts files named like the sample desktop's icons on the user's desktop.
#include <windows.h>

#include <cwchar>
#include <string>

#include "chrome/win32/chrome_window.h"
#include "core/app_state.h"
#include "core/icon_table.h"
#include "core/settings.h"
#include "core/win32/platform.h"
#include "layout/win32/layout_dialogs.h"
#include "mainwindow/win32/main_window.h"
#include "sample_desktop_files.h"

int wmain(int argc, wchar_t** argv) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  norv::InitCommonControlsForChrome();
  norv::Win32Platform platform;
  norv::Services& services = platform.services();
  norv::AppState state;
  state.appDirectory = norv::ProgramDirectory();
  norv::ScreenPoint menuPoint;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"--folder" && i + 1 < argc) {
      state.appDirectory = reinterpret_cast<const char16_t*>(argv[++i]);
    } else if (argument == L"--menu-point" && i + 2 < argc) {
      menuPoint.x = static_cast<int16_t>(std::wcstol(argv[++i], nullptr, 10));
      menuPoint.y = static_cast<int16_t>(std::wcstol(argv[++i], nullptr, 10));
    } else if (argument == L"--desktop-files") {
      norv::wintest::CreateSampleDesktopFiles();
    } else {
      return 2;
    }
  }

  norv::LoadOptions(state, services.profile);
  state.table.firstSnapshotPending = true;
  norv::SnapshotDesktop(state.table, services);

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const norv::ScopedIcon icon = norv::LoadProgramIcon(instance, GetSystemMetrics(SM_CXICON));
  norv::LayoutDialogs dialogs(state, services);
  norv::MainWindowSlot mainWindow(instance, icon.get(), state, services, dialogs);
  mainWindow.Open(menuPoint);

  MSG message;
  while (mainWindow.hwnd() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (norv::TranslateChromeKeyboard(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return mainWindow.IsOpen() ? 1 : 0;
}
