#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "core/geometry.h"

namespace norv {

struct AppState;
struct Services;
class LayoutDialogs;
class Win32MainWindow;

// The program's one main window, modeless: opened from the tray's settings entry, closed by its
// close box or "ﾀｽｸﾄﾚｲへ", and opened again later. It holds the window that is open and the last
// one closed, which may still be on the call stack that closed it.
class MainWindowSlot {
 public:
  MainWindowSlot(HINSTANCE instance, HICON programIcon, AppState& state, Services& services,
                 LayoutDialogs& dialogs);
  ~MainWindowSlot();
  MainWindowSlot(const MainWindowSlot&) = delete;
  MainWindowSlot& operator=(const MainWindowSlot&) = delete;

  // Creates and shows the window, zooming out of `from`, and returns at once; brings the window
  // forward instead when it is open already. Its unload writes the options.
  void Open(ScreenPoint from);
  // From the window's load until its unload has written the options.
  bool IsOpen() const;
  // The window while it exists, else null.
  HWND hwnd() const;
  // An open window shows a change it did not make (see MainWindow::ShowOutsideChange).
  void ShowOutsideChange();
  // Called after each button of the window has done its work (the table then shows the desktop
  // its command left), for whoever keeps a record of the arrangement.
  void AfterEachCommand(std::function<void()> call) { afterCommand_ = std::move(call); }

 private:
  friend class Win32MainWindow;
  // The window has been destroyed; it is freed when the next one opens.
  void Retire(const Win32MainWindow& window);

  HINSTANCE instance_;
  HICON programIcon_;
  AppState& state_;
  Services& services_;
  LayoutDialogs& dialogs_;
  std::unique_ptr<Win32MainWindow> loaded_;
  std::unique_ptr<Win32MainWindow> retired_;
  std::function<void()> afterCommand_;
};

}  // namespace norv
