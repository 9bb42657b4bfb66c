#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "desktop_windows.h"
#include "folder_view_server.h"
#include "request_counter.h"

namespace norv::testdesk {

// The hidden window through which tests drive testdesk (commands in testdesk_protocol.h).
class ControlWindow {
 public:
  // `folderView` serves the desktop's folder view to other processes; nullptr when none does.
  ControlWindow(HINSTANCE instance, DesktopWindows& desktop, RequestCounter& counter,
                FolderViewServer* folderView, std::vector<DeskItem> items);
  ~ControlWindow();
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  // Creates the desktop windows, then the control window: a test that finds the control window
  // finds a complete desktop.
  bool Create(UINT exitAfterMs);

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnCommand(const COPYDATASTRUCT& data);
  bool WriteReport(const std::wstring& path) const;
  void Vanish();
  bool Appear();
  // After a death: the restart kRestartAfterRequests asked for, if any.
  void ComeBackAsBefore();

  HINSTANCE instance_;
  DesktopWindows& desktop_;
  RequestCounter& counter_;
  FolderViewServer* folderView_;
  std::vector<DeskItem> keptItems_;
  HWND hwnd_ = nullptr;
  SIZE pendingSize_{};
  // The items as they were when kRestartAfterRequests came, and the delay of their return.
  std::optional<std::vector<DeskItem>> itemsBeforeRestart_;
  UINT restartDelayMs_ = 0;
};

}  // namespace norv::testdesk
