#pragma once

#include <windows.h>

#include <vector>

#include "desk_items.h"
#include "request_counter.h"

namespace norv::testdesk {

enum class DeskHost { kProgman, kWorkerW, kWorkerWUnderProgman };

// The windows a shell desktop is made of: Progman "Program Manager" > SHELLDLL_DefView >
// SysListView32 (large icons, no auto-arrange), or the view under a WorkerW window.
class DesktopWindows {
 public:
  DesktopWindows(HINSTANCE instance, DeskHost host, SIZE size, RequestCounter& counter);
  ~DesktopWindows() { Destroy(); }
  DesktopWindows(const DesktopWindows&) = delete;
  DesktopWindows& operator=(const DesktopWindows&) = delete;

  bool Create(const std::vector<DeskItem>& items);
  void Destroy();
  // Replaces every item; false when the windows do not exist.
  bool Fill(const std::vector<DeskItem>& items);
  bool DeleteItem(int index);
  // Gives the windows this size, now and when they are created again.
  void Resize(SIZE size);

  bool present() const { return listView_ != nullptr; }
  HWND listView() const { return listView_; }
  std::vector<DeskItem> ReadItems() const;

 private:
  HINSTANCE instance_;
  DeskHost host_;
  SIZE size_;
  RequestCounter& counter_;
  HWND progman_ = nullptr;
  HWND workerW_ = nullptr;
  HWND listView_ = nullptr;
};

// Registers the window classes of the desktop windows; once per process.
bool RegisterDesktopClasses(HINSTANCE instance);

}  // namespace norv::testdesk
