#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace norv::wintest {

// A "Shell_TrayWnd" of the test's own that receives what Shell_NotifyIconW sends, so a test sees
// every icon added and removed. Wine's shell32 hands the notification area a WM_COPYDATA whose
// dwData is the NIM_ message and whose data starts with the window, identifier, flags, callback
// message and tip; that is the record read here (the test runs under Wine only).
class StandInNotificationArea {
 public:
  struct Notice {
    DWORD message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
    HWND window = nullptr;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    std::wstring tip;
    bool accepted = true;
  };

  StandInNotificationArea();
  ~StandInNotificationArea();
  StandInNotificationArea(const StandInNotificationArea&) = delete;
  StandInNotificationArea& operator=(const StandInNotificationArea&) = delete;

  // True when Shell_NotifyIconW of any program would reach this window.
  bool IsTheOneFound() const;
  const std::vector<Notice>& notices() const { return notices_; }
  // Notices of this kind from this window, accepted or refused.
  int Count(DWORD message, HWND window) const;
  int Accepted(DWORD message, HWND window) const;

  // While set, icons are refused, as by a notification area that is not ready yet.
  bool refuseAdds = false;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
  std::vector<Notice> notices_;
};

}  // namespace norv::wintest
