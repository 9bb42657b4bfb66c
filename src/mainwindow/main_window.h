#pragma once

#include "core/geometry.h"
#include "mainwindow/main_window_view.h"

namespace norv {

struct AppState;
struct MoveOutcome;
struct Services;

// The behaviour of the main window: its load and unload handling, the icon list and preview, the
// show and hide operations, the command dispatcher and the option check boxes. Every operation
// that changes the desktop moves icons, takes a snapshot and rebuilds the list from it; the
// table is never patched by hand.
class MainWindow {
 public:
  MainWindow(AppState& state, Services& services, MainWindowView& view);

  // After the view has built its chrome: marks the window open, fills the list, sets the check
  // boxes and the enabled buttons, and ends with the opening animation.
  void Load();
  // Writes the options (telling the user when that fails), clears MainWindowOpen, unloads the
  // dialogs and destroys the window. The close box and "ﾀｽｸﾄﾚｲへ" both end here; it runs once.
  void Unload();

  // The user's actions, forwarded by the view.
  void OnRowSelected() { ShowIconPreview(); }
  void OnButtonReleased(Command command);
  void ToggleOption(int option);

  void RefillIconList();
  // Arranges the icons, snapshots, refills and clears the preview; false when a step failed (it
  // then ends there).
  bool AutoArrange();
  void ShowIconPreview();
  void ClearIconPreview();

  // Step failures are skipped: a failed move is still followed by the snapshot and the refill.
  void HideSelected();
  void ShowSelected();
  // These stop moving at the first move that reaches no view and report it, yet still show the
  // desktop as it then is; a failed snapshot ends them. The dispatcher goes on regardless.
  bool HideAll();
  bool ShowAll();

 private:
  void SelectRow(int row);
  void SelectRowUnlessOnNewDesktop(int row, const MoveOutcome& moved);
  void EnableAllIconsButtons();
  void DisableSelectedIconButtons();
  void ShowOptionPicture(int option);
  void SwitchOffKeepPositionsAtExit();
  void RecountLayoutsAndEnableRestore();
  bool LastSnapshotHasHiddenIcon() const;
  bool ToTray();

  AppState& state_;
  Services& services_;
  MainWindowView& view_;
  bool unloaded_ = false;
};

}  // namespace norv
