#include "layout/win32/layout_dialogs.h"

#include "core/app_state.h"
#include "layout/win32/dialog_messages.h"
#include "layout/win32/restore_dialog.h"
#include "layout/win32/save_dialog.h"

namespace norv {
namespace {

// Marks a dialog as the one loaded for as long as it runs.
class LoadedDialog {
 public:
  LoadedDialog(ModalDialogWindow*& open, ModalDialogWindow& dialog) : open_(open) {
    open_ = &dialog;
  }
  ~LoadedDialog() { open_ = nullptr; }
  LoadedDialog(const LoadedDialog&) = delete;
  LoadedDialog& operator=(const LoadedDialog&) = delete;

 private:
  ModalDialogWindow*& open_;
};

}  // namespace

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
  LoadedDialog loaded(open_, window);
  window.Show();
}

void LayoutDialogs::RunRestore(HWND owner) {
  if (BringOpenDialogForward()) return;
  DialogMessages messages(services_.messages);
  Services dialogServices = WithMessages(services_, messages);
  DestroysWindowFirst<RestoreDialogWindow> window(owner, state_, dialogServices);
  if (!window.Create()) return;
  messages.SetDialog(window.hwnd());
  LoadedDialog loaded(open_, window);
  window.Show();
}

void LayoutDialogs::UnloadOpenDialog() {
  if (open_ && !open_->unloaded()) open_->RequestClose();
}

}  // namespace norv
