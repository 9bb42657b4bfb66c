#pragma once

#include <windows.h>

#include <memory>
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
  // Sets both window icons, which the window destroys with itself.
  void SetIcons(HICON big, HICON small);
  // Messages of the window that the base leaves to the dialog; return nullopt for the default.
  virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Enter pressed in the control `target`; false leaves the key to the control and the chrome.
  virtual bool OnEnter(HWND /*target*/) { return false; }

  std::unique_ptr<ChromeWindow> chrome_;

 private:
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

}  // namespace norv
