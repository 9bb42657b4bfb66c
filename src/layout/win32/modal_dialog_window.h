#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "chrome/win32/chrome_window.h"
#include "chrome/win32/chromed_window.h"
#include "core/win32/scoped_handles.h"

namespace norv {

// A top-level window shown modally over its owner: the owner takes no input until the window is
// unloaded. Create makes the window, hidden; Run shows it and handles messages until then.
class ModalDialogWindow : public ChromedWindow {
 public:
  bool unloaded() const { return unloaded_; }
  // Creates the window, hidden and owned by the owner; false when it could not be made.
  bool Create();
  // Shows the window, focuses `firstFocus` and runs the message loop until the window unloads.
  // A WM_QUIT met meanwhile ends the loop and is posted again for the loop outside.
  void Run(HWND firstFocus);
  // Any request to close (close box, Esc, the owner unloading): the dialog's own closing.
  virtual void RequestClose() = 0;

 protected:
  ModalDialogWindow(HWND owner, const wchar_t* className, std::u16string caption);

  // Hides the window and gives input back to the owner; Run returns after it.
  void MarkUnloaded();
  // The start of both dialogs' PrepareWindow: the chrome, the client area sized to `client` and
  // centred, and both window icons from `loadIcon` at the window's DPI.
  void PrepareChrome(DesignSize client, ScopedIcon (*loadIcon)(HINSTANCE artModule, int size));
  // Messages of the window that the base leaves to the dialog; return nullopt for the default.
  virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Enter pressed in the control `target`; false leaves the key to the control and the chrome.
  virtual bool OnEnter(HWND /*target*/) { return false; }

 private:
  // Sets both window icons, which this window keeps as long as it lives.
  void SetIcons(ScopedIcon big, ScopedIcon small);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
  bool TranslateKeyboard(MSG& message);

  HWND owner_;
  const wchar_t* className_;
  std::u16string caption_;
  HWND lastFocus_ = nullptr;
  ScopedIcon bigIcon_;
  ScopedIcon smallIcon_;
  bool ownerDisabled_ = false;
  bool unloaded_ = false;
};

// A modal dialog window that is also its dialog's view (`View`): the parts of the view that both
// dialogs show the same way.
template <class View>
class ModalDialogView : public ModalDialogWindow, public View {
 public:
  std::optional<ScreenPoint> CursorPosition() override { return CursorAnchor(); }
  void AnimateOpen(ScreenPoint from) override { norv::AnimateOpen(hwnd(), from.x, from.y); }
  void AnimateClose(ScreenPoint to) override {
    if (hwnd() && IsWindowVisible(hwnd())) norv::AnimateClose(hwnd(), to.x, to.y);
  }
  void Unload() override { MarkUnloaded(); }

 protected:
  using ModalDialogWindow::ModalDialogWindow;
};

}  // namespace norv
