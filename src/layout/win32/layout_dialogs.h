#pragma once

#include <windows.h>

namespace norv {

struct AppState;
struct Services;
class ModalDialogWindow;
class SaveDialogCaller;

// The save and restore dialogs, one at a time: asking for one while one runs (the tray menu while
// the main window's dialog is up) brings the open one forward instead. The tray window and the
// main window share one.
class LayoutDialogs {
 public:
  LayoutDialogs(AppState& state, Services& services) : state_(state), services_(services) {}
  LayoutDialogs(const LayoutDialogs&) = delete;
  LayoutDialogs& operator=(const LayoutDialogs&) = delete;

  // The save dialog, modal over owner; returns when it has been unloaded. Its snapshot is
  // reported to `caller`, which lists the table again.
  void RunSave(HWND owner, SaveDialogCaller& caller);
  // The restore dialog, modal over owner (the main window or the tray window).
  void RunRestore(HWND owner);
  // Closes whichever of the two dialogs is loaded, without running its command.
  void UnloadOpenDialog();

 private:
  bool BringOpenDialogForward();

  AppState& state_;
  Services& services_;
  // The dialog now loaded, if any.
  ModalDialogWindow* open_ = nullptr;
};

}  // namespace norv
