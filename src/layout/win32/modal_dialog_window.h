#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "chrome/win32/chrome_window.h"

namespace norv {

// A top-level window shown modally over its owner: the owner takes no input until the window is
// unloaded. The window is created hidden; Run shows it and handles messages until then.
class ModalDialogWindow {
 public:
  virtual ~ModalDialogWindow();
  ModalDialogWindow(const ModalDialogWindow&) = delete;
  ModalDialogWindow& operator=(const ModalDialogWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool unloaded() const { return unloaded_; }
  // Shows the window, focuses `firstFocus` and runs the message loop until the window unloads.
  // A WM_QUIT met meanwhile ends the loop and is posted again for the loop outside.
  void Run(HWND firstFocus);
  // Any request to close (close box, Esc, the owner unloading): the dialog's own closing.
  virtual void RequestClose() = 0;

 protected:
  ModalDialogWindow(HWND owner, const wchar_t* className, const std::u16string& caption);

  // Hides the window and gives input back to the owner; Run returns after it.
  void MarkUnloaded();
  // The start of both dialogs' PrepareWindow: the chrome, the client area sized to `client` and
  // centred, and both window icons from `loadIcon` at the window's DPI.
  void PrepareChrome(DesignSize client, HICON (*loadIcon)(HINSTANCE artModule, int size));
  // Messages of the window that the base leaves to the dialog; return nullopt for the default.
  virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Enter pressed in the control `target`; false leaves the key to the control and the chrome.
  virtual bool OnEnter(HWND /*target*/) { return false; }

  std::unique_ptr<ChromeWindow> chrome_;

 private:
  // Sets both window icons, which the window destroys with itself.
  void SetIcons(HICON big, HICON small);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool TranslateKeyboard(MSG& message);

  HWND owner_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
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
