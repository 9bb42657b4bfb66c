#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "core/icon_moves.h"
#include "layout/save_dialog.h"
#include "mainwindow/main_window_view.h"

namespace norv {

struct AppState;
struct Services;

// What an all-icons button did: its moves, and whether the snapshot after them succeeded (only
// then does the list show the desktop as it now is).
struct AllIconsOutcome {
  MoveOutcome moved;
  bool snapshotTaken = false;
};

// The behaviour of the main window: its load and unload handling, the icon list and preview, the
// show and hide operations, the command dispatcher and the option check boxes. Every operation
// that changes the desktop moves icons, takes a snapshot and rebuilds the list from it; the
// table is never patched by hand.
class MainWindow : public SaveDialogCaller {
 public:
  MainWindow(AppState& state, Services& services, MainWindowView& view);

  // After the view has built its chrome: marks the window open, fills the list, sets the check
  // boxes and the enabled buttons, and ends with the opening animation.
  void Load();
  // Writes the options (telling the user when that fails), marks the window closed, unloads the
  // dialogs and destroys the window. The close box and "ﾀｽｸﾄﾚｲへ" both end here; it runs once.
  void Unload();
  // From the start of the load until the unload has written the options: while it is open the
  // tray menu stays shut.
  bool open() const { return open_; }

  // The user's actions, forwarded by the view.
  void OnRowSelected() { ShowIconPreview(); }
  void OnButtonReleased(Command command);
  void ToggleOption(int option);

  // After a change no command of this window made (a command line, a new display): the rows of
  // the table, no row selected, the options, the all-icons buttons from the new counts and the
  // restore button from the layouts saved now.
  void ShowOutsideChange();
  // What releasing the all-icons "非表示" (kHideAll) or "表示" (kShowAll) button does.
  AllIconsOutcome ReleaseAllIconsButton(Command button);

  void RefillIconList();
  // Arranges the icons, snapshots, refills and clears the preview; false when a step failed (it
  // then ends there).
  bool AutoArrange();
  void ShowIconPreview();
  void ClearIconPreview();

  // The save dialog's snapshot: the list goes before it and shows the new table after it.
  void SnapshotStarting() override;
  void SnapshotTaken() override;

  // Step failures are skipped: a failed move is still followed by the snapshot and the refill.
  void HideSelected();
  void ShowSelected();
  // These stop moving at the first move that reaches no view, yet still show the desktop as it
  // then is; a failed snapshot ends them. The dispatcher goes on regardless.
  AllIconsOutcome HideAll();
  AllIconsOutcome ShowAll();

  // While the last snapshot after a command failed (a shell that did not answer), the table is
  // known to be stale: it is taken again on this timer, a bounded number of times, and on the
  // next command; the list and the buttons follow once one succeeds.
  void OnRetryTimer();
  bool tableStale() const { return tableStale_; }

  // The list's first visible row when a button was last released.
  int16_t savedTopIndex() const { return savedTopIndex_; }

 private:
  void SelectRow(int row);
  void SelectRowUnlessOnNewDesktop(int row, const MoveOutcome& moved);
  void EnableAllIconsButtons();
  void DisableSelectedIconButtons();
  // The stored value behind check box 0 or 1.
  int16_t& OptionOfBox(int option);
  void ShowOptionPicture(int option);
  void SwitchOffKeepPositionsAtExit();
  void RecountLayoutsAndEnableRestore();
  bool LastSnapshotHasHiddenIcon() const;
  bool ToTray();
  // The snapshot of this window's commands; a failed one marks the table stale.
  bool TakeSnapshot();

  AppState& state_;
  Services& services_;
  MainWindowView& view_;
  int16_t savedTopIndex_ = 0;
  bool open_ = false;
  bool unloaded_ = false;
  bool tableStale_ = false;
  int staleRetriesLeft_ = 0;
  // A command (and any dialog it shows) is running: the timer leaves the desktop alone.
  bool commandRunning_ = false;
};

}  // namespace norv
