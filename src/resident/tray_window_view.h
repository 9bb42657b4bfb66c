#pragma once

#include <optional>
#include <string>

#include "core/geometry.h"

namespace norv {

// The entries of the tray menu, in menu order; kNone when the menu was dismissed.
enum class TrayCommand { kNone, kSettings, kRestore, kHelp, kExit };

// The tray window's timers: trying a refused icon again, looking at a changed display, waiting
// for a changing display configuration to settle, recording the arrangement now and then.
enum class TrayTimer { kIconRetry, kDisplayCheck, kDisplaySettle, kArrangementRecord };

// What the tray window's behaviour needs from its platform half: the notification icon, the
// menu, the cursor and the other windows.
class TrayWindowView {
 public:
  virtual ~TrayWindowView() = default;

  // False when the shell refused the icon (no notification area yet, or a busy one).
  virtual bool AddTrayIcon() = 0;
  // Calls the behaviour's OnTimer with `timer` every `milliseconds` until stopped.
  virtual void StartTimer(TrayTimer timer, int milliseconds) = 0;
  virtual void StopTimer(TrayTimer timer) = 0;
  virtual void RemoveTrayIcon() = 0;
  // Shows the tray menu at the cursor and waits for the user's choice.
  virtual TrayCommand ChooseFromMenu() = 0;
  // The cursor in screen pixels; nullopt when it cannot be read.
  virtual std::optional<Point> CursorPosition() = 0;
  // Opens the main window modeless, zooming out of `from`, and returns at once.
  virtual void OpenMainWindow(ScreenPoint from) = 0;
  // From the main window's load until its unload has written the options.
  virtual bool MainWindowOpen() = 0;
  // An open main window shows what changed outside it; nothing when none is open.
  virtual void ShowChangeInMainWindow() = 0;
  // Whether the message being handled came in while other work of ours is underway beneath it: a
  // menu, dialog or message box of ours waiting for the user, or a request to the shell waiting
  // for its answer.
  virtual bool InsideOtherWork() = 0;
  // Runs the restore dialog modally; returns when it has been unloaded.
  virtual void RunRestoreDialog() = 0;
  // Opens a document with the user's default viewer; false when no viewer could open it.
  virtual bool OpenDocument(const std::u16string& path) = 0;
};

}  // namespace norv
