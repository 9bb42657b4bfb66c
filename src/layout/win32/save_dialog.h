#pragma once

#include <windows.h>

#include <array>

#include "core/app_state.h"
#include "layout/save_dialog.h"
#include "layout/win32/modal_dialog_window.h"

namespace norv {

// The save dialog's window: a textured panel with the name box and two image buttons.
class SaveDialogWindow : public ModalDialogView<SaveDialogView> {
 public:
  SaveDialogWindow(HWND owner, AppState& state, Services& services, SaveDialogCaller& caller);

  // Loads, shows and runs the dialog until it is unloaded.
  void Show();
  void RequestClose() override { dialog_.Close(); }

  void PrepareWindow() override;
  std::u16string TypedName() override;

 private:
  bool OnEnter(HWND target) override;

  SaveDialog dialog_;
  HWND nameBox_ = nullptr;
};

}  // namespace norv
