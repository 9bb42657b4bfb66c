#pragma once

#include <windows.h>

#include <memory>

#include "chrome/win32/chrome_window.h"
#include "core/win32/window_base.h"

namespace norv {

// A top-level window of ours drawn with the chrome (the main window, the save and restore
// dialogs): it holds the chrome and follows a change of DPI. The windows hand every message they
// do not handle to this base's HandleMessage.
//
// Held as DestroysWindowFirst<...>, so the window's last messages reach the whole object.
class ChromedWindow : public WindowBase {
 protected:
  ChromedWindow() = default;

  // Once the window exists: its chrome, with the client area sized to `client` and centred.
  ChromeWindow& MakeChrome(HINSTANCE instance, DesignSize client);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  std::unique_ptr<ChromeWindow> chrome_;
};

}  // namespace norv
