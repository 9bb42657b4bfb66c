#pragma once

#include <cstdint>
#include <string>

#include "mainwindow/icon_list_sink.h"

namespace norv {

class SaveDialogCaller;

// The eight command buttons, in the dispatcher's order.
enum class Command : int {
  kHideSelected = 0,
  kShowSelected = 1,
  kHideAll = 2,
  kShowAll = 3,
  kAutoArrange = 4,
  kSave = 5,
  kRestore = 6,
  kToTray = 7,
};
inline constexpr int kCommandCount = 8;

// What the main window's behaviour needs of its window. The Win32 view creates the widgets and
// draws the chrome; it forwards the user's actions to MainWindow and does what it is told here.
class MainWindowView : public IconListSink {
 public:
  // The icon list. Selecting a row from here does not run the preview; MainWindow does that itself.
  virtual int SelectedRow() = 0;  // -1 when no row is selected
  virtual void SelectRow(int row) = 0;
  virtual int TopRow() = 0;
  virtual void SetTopRow(int row) = 0;

  // A disabled button greys its caption and ignores the mouse.
  virtual void SetButtonEnabled(Command button, bool enabled) = 0;

  // The icon preview: draws the desktop icon with this text and image index at its top-left corner;
  // false when no picture could be drawn.
  virtual bool DrawIconPreview(std::u16string_view iconText, int32_t imageIndex) = 0;
  virtual void ClearIconPreview() = 0;

  // The check box of option 0 or 1.
  virtual void SetOptionChecked(int option, bool checked) = 0;

  // Modal; return when the dialog has been unloaded, whatever the user did in it. The save
  // dialog reports its snapshot to `caller`.
  virtual void RunSaveDialog(SaveDialogCaller& caller) = 0;
  virtual void RunRestoreDialog() = 0;
  // Unloads whichever of the two dialogs is loaded.
  virtual void UnloadDialogs() = 0;

  // Zoom animations between the point the window was opened from and its rectangle.
  virtual void AnimateOpen() = 0;
  virtual void AnimateClose() = 0;
  // Destroys the window; the unload handling has already run.
  virtual void DestroyView() = 0;
  // Calls MainWindow::OnRetryTimer every `milliseconds` until stopped or the window goes.
  virtual void StartRetryTimer(int milliseconds) = 0;
  virtual void StopRetryTimer() = 0;
};

}  // namespace norv
