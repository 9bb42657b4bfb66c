#pragma once

#include <windows.h>

#include <functional>

#include "core/desktop_view_selector.h"
#include "core/win32/folder_view/bounded_folder_view.h"

namespace norv {

// The windows the two ways reached, as real window handles.
class Win32DesktopWindows : public DesktopWindows {
 public:
  Win32DesktopWindows(const BoundedFolderView& folderView, std::function<HWND()> listViewWindow)
      : folderView_(folderView), listViewWindow_(std::move(listViewWindow)) {}

  WindowId ListViewWindow() override;
  WindowId FolderViewWindow() override;
  bool IsSameOrAncestor(WindowId outer, WindowId inner) override;

 private:
  const BoundedFolderView& folderView_;
  std::function<HWND()> listViewWindow_;
};

// The desktop bridge of the program: the shell's folder view where it leads to the desktop's icon
// list view, the list-view messages everywhere else. Every call into Explorer's folder view is
// bounded by the same deadline as a list-view request.
class DesktopBridge {
 public:
  // listViewWindow names the window the list view's last find found.
  DesktopBridge(DesktopListView& listView, std::function<HWND()> listViewWindow,
                FolderViewShell shell = SystemFolderViewShell());

  DesktopListView& desktop() { return selector_; }
  DesktopPath path() const { return selector_.path(); }
  BoundedFolderView& folderView() { return folderView_; }

 private:
  BoundedFolderView folderView_;
  Win32DesktopWindows windows_;
  DesktopViewSelector selector_;
};

}  // namespace norv
