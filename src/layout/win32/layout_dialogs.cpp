#include "layout/win32/layout_dialogs.h"

#include "core/app_state.h"
#include "layout/win32/dialog_messages.h"
#include "layout/win32/restore_dialog.h"
#include "layout/win32/save_dialog.h"

namespace norv {
namespace {

// The dialog now loaded, if any. Only one is ever open: asking for another while one runs (the
// tray menu while the main window's dialog is up) brings the open one forward instead.
ModalDialogWindow* loadedDialog = nullptr;

class LoadedDialog {
 public:
  explicit LoadedDialog(ModalDialogWindow& dialog) { loadedDialog = &dialog; }
  ~LoadedDialog() { loadedDialog = nullptr; }
  LoadedDialog(const LoadedDialog&) = delete;
  LoadedDialog& operator=(const LoadedDialog&) = delete;
};

bool BringLoadedDialogForward() {
  if (!loadedDialog) return false;
  if (loadedDialog->hwnd()) SetForegroundWindow(loadedDialog->hwnd());
  return true;
}

}  // namespace

void RunSaveDialog(HWND owner, AppState& state, Services& services, IconListSink& list) {
  if (BringLoadedDialogForward()) return;
  DialogMessages messages(services.messages);
  Services dialogServices = WithMessages(services, messages);
  SaveDialogWindow window(owner, state, dialogServices, list);
  if (!window.Create()) return;
  messages.SetDialog(window.hwnd());
  LoadedDialog loaded(window);
  window.Show();
}

void RunRestoreDialog(HWND owner, AppState& state, Services& services) {
  if (BringLoadedDialogForward()) return;
  DialogMessages messages(services.messages);
  Services dialogServices = WithMessages(services, messages);
  RestoreDialogWindow window(owner, state, dialogServices);
  if (!window.Create()) return;
  messages.SetDialog(window.hwnd());
  LoadedDialog loaded(window);
  window.Show();
}

void UnloadLayoutDialogs() {
  if (loadedDialog && !loadedDialog->unloaded()) loadedDialog->RequestClose();
}

}  // namespace norv
