#pragma once

#include <windows.h>

#include <functional>

#include "core/desktop_view_selector.h"
#include "core/win32/folder_view/folder_view_desktop.h"

namespace norv {

// The windows the two ways reached, as real window handles.
class Win32DesktopWindows : public DesktopWindows {
 public:
  Win32DesktopWindows(const FolderViewDesktop& folderView, std::function<HWND()> listViewWindow)
      : folderView_(folderView), listViewWindow_(std::move(listViewWindow)) {}

  WindowId ListViewWindow() override;
  WindowId FolderViewWindow() override;
  bool IsSameOrAncestor(WindowId outer, WindowId inner) override;

 private:
  const FolderViewDesktop& folderView_;
  std::function<HWND()> listViewWindow_;
};

// The desktop bridge of the program: the shell's folder view where it leads to the desktop's icon
// list view, the list-view messages everywhere else.
class DesktopBridge {
 public:
  // listViewWindow names the window the list view's last find found.
  DesktopBridge(DesktopListView& listView, std::function<HWND()> listViewWindow,
                FolderViewShell shell = SystemFolderViewShell());

  DesktopListView& desktop() { return selector_; }
  DesktopPath path() const { return selector_.path(); }
  FolderViewDesktop& folderView() { return folderView_; }

 private:
  FolderViewDesktop folderView_;
  Win32DesktopWindows windows_;
  DesktopViewSelector selector_;
};

}  // namespace norv
