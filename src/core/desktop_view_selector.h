#pragma once

#include <cstdint>

#include "core/desktop_list_view.h"

namespace norv {

// An opaque window handle as the platform gives it; 0 is no window.
using WindowId = uintptr_t;

// Which windows the two ways to the desktop reached at their last find.
class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  // The icon list view the list-view finder found.
  virtual WindowId ListViewWindow() = 0;
  // The window of the shell's folder view of the desktop.
  virtual WindowId FolderViewWindow() = 0;
  // True when outer is inner itself or one of its ancestors.
  virtual bool IsSameOrAncestor(WindowId outer, WindowId inner) = 0;
};

enum class DesktopPath { kListView, kFolderView };

// The desktop bridge that chooses its way anew at every find. The shell's folder view is the
// documented way whose positions Explorer keeps; it is taken only when it leads to the very list
// view the finder sees (another shell, an older system or a test desktop may answer the folder
// view requests with some other window). Otherwise the list-view messages are used. Reads, moves
// and arranging all go the way of the last find, so indexes always mean what that find saw.
class DesktopViewSelector : public DesktopListView {
 public:
  DesktopViewSelector(DesktopListView& folderView, DesktopListView& listView,
                      DesktopWindows& windows)
      : folderView_(folderView), listView_(listView), windows_(windows) {}

  DesktopPath path() const { return path_; }

  bool FindDesktopListView() override;
  DesktopRect GetDesktopRect() override { return Active().GetDesktopRect(); }
  std::optional<int32_t> GetItemCount() override { return Active().GetItemCount(); }
  std::optional<std::vector<DesktopItem>> ReadItems(int32_t count) override {
    return Active().ReadItems(count);
  }
  size_t MoveItems(std::span<const IconMove> moves) override { return Active().MoveItems(moves); }
  void BeginMoveBatch() override;
  // A batch ends where it began. An end without a begin, which repairs a batch an earlier run was
  // killed in, goes to the list view: only list-view messages switch a view's painting off.
  void EndMoveBatch() override;
  bool ArrangeIcons() override { return Active().ArrangeIcons(); }
  bool ViewStillExists() override { return Active().ViewStillExists(); }

 private:
  DesktopListView& Active() { return path_ == DesktopPath::kFolderView ? folderView_ : listView_; }

  DesktopListView& folderView_;
  DesktopListView& listView_;
  DesktopWindows& windows_;
  DesktopPath path_ = DesktopPath::kListView;
  DesktopListView* batch_ = nullptr;  // the way the open batch began on
};

}  // namespace norv
