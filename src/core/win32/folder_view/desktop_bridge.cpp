#include "core/win32/folder_view/desktop_bridge.h"

namespace norv {

WindowId Win32DesktopWindows::ListViewWindow() {
  return reinterpret_cast<WindowId>(listViewWindow_());
}

WindowId Win32DesktopWindows::FolderViewWindow() {
  return reinterpret_cast<WindowId>(folderView_.ViewWindow());
}

bool Win32DesktopWindows::IsSameOrAncestor(WindowId outer, WindowId inner) {
  const auto outerWindow = reinterpret_cast<HWND>(outer);
  const auto innerWindow = reinterpret_cast<HWND>(inner);
  return outerWindow == innerWindow || IsChild(outerWindow, innerWindow);
}

DesktopBridge::DesktopBridge(DesktopListView& listView, std::function<HWND()> listViewWindow,
                             FolderViewShell shell)
    : folderView_(std::move(shell)),
      windows_(folderView_, std::move(listViewWindow)),
      selector_(folderView_, listView, windows_) {}

}  // namespace norv
