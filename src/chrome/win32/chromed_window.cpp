#include "chrome/win32/chromed_window.h"

namespace norv {

ChromeWindow& ChromedWindow::MakeChrome(HINSTANCE instance, DesignSize client) {
  chrome_ = std::make_unique<ChromeWindow>(hwnd(), instance);
  chrome_->SizeToClientAndCentre(client);
  return *chrome_;
}

LRESULT ChromedWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DPICHANGED && chrome_) {
    chrome_->OnDpiChanged(wParam, lParam);
    return 0;
  }
  return WindowBase::HandleMessage(message, wParam, lParam);
}

}  // namespace norv
