#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "desktop_windows.h"
#include "request_counter.h"
#include "shell_registration.h"

namespace norv::testdesk {

// testdesk's Explorer: serves the shell-windows lookup and the desktop's folder view to other
// processes over COM, on the desktop's own thread, so a hung desktop leaves their calls waiting
// too. The view's items are the list view's items in its order; an item's id names it through
// the desktop folder of any process in the same Wine prefix.
class FolderViewServer {
 public:
  FolderViewServer(DesktopWindows& desktop, RequestCounter& counter);
  ~FolderViewServer();
  FolderViewServer(const FolderViewServer&) = delete;
  FolderViewServer& operator=(const FolderViewServer&) = delete;

  // Registers the class and what the prefix needs; false with the reason in `error` when that
  // fails. COM must be started on this thread as a single-threaded apartment.
  bool Start(const std::wstring& proxyDll, std::wstring& error);
  // The desktop's view went: what was handed out for it fails from now on, as with a dead shell.
  void ViewGone();

  // What the served objects share.
  class Objects;

 private:
  std::unique_ptr<Objects> objects_;
  ShellRegistration registration_;
  DWORD cookie_ = 0;
};

}  // namespace norv::testdesk
