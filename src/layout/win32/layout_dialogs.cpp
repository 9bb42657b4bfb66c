#include "layout/win32/layout_dialogs.h"

#include "core/app_state.h"
#include "core/win32/scoped_handles.h"
#include "layout/win32/dialog_messages.h"
#include "layout/win32/restore_dialog.h"
#include "layout/win32/save_dialog.h"

namespace norv {

bool LayoutDialogs::BringOpenDialogForward() {
  if (!open_) return false;
  if (open_->hwnd()) SetForegroundWindow(open_->hwnd());
  return true;
}

void LayoutDialogs::RunSave(HWND owner, SaveDialogCaller& caller) {
  if (BringOpenDialogForward()) return;
  DialogMessages messages(services_.messages);
  Services dialogServices = WithMessages(services_, messages);
  DestroysWindowFirst<SaveDialogWindow> window(owner, state_, dialogServices, caller);
  if (!window.Create()) return;
  messages.SetDialog(window.hwnd());
  // The one loaded for as long as it runs.
  open_ = &window;
  const ScopeExit closed([this] { open_ = nullptr; });
  window.Show();
}

void LayoutDialogs::RunRestore(HWND owner) {
  if (BringOpenDialogForward()) return;
  DialogMessages messages(services_.messages);
  Services dialogServices = WithMessages(services_, messages);
  DestroysWindowFirst<RestoreDialogWindow> window(owner, state_, dialogServices);
  if (!window.Create()) return;
  messages.SetDialog(window.hwnd());
  // The one loaded for as long as it runs.
  open_ = &window;
  const ScopeExit closed([this] { open_ = nullptr; });
  window.Show();
}

void LayoutDialogs::UnloadOpenDialog() {
  if (open_ && !open_->unloaded()) open_->RequestClose();
}

}  // namespace norv
