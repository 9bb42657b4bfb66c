#include "core/desktop_view_selector.h"

namespace norv {

bool DesktopViewSelector::FindDesktopListView() {
  const bool folderFound = folderView_.FindDesktopListView();
  // The list view is looked up every time: it decides whether the folder view may be used, and it
  // is the way to fall back on.
  const bool listFound = listView_.FindDesktopListView();
  const WindowId list = listFound ? windows_.ListViewWindow() : 0;
  const WindowId folder = folderFound ? windows_.FolderViewWindow() : 0;
  const bool useFolder = list != 0 && folder != 0 && windows_.IsSameOrAncestor(folder, list);
  path_ = useFolder ? DesktopPath::kFolderView : DesktopPath::kListView;
  return listFound;
}

void DesktopViewSelector::BeginMoveBatch() {
  batch_ = &Active();
  batch_->BeginMoveBatch();
}

void DesktopViewSelector::EndMoveBatch() {
  DesktopListView& view = batch_ ? *batch_ : listView_;
  batch_ = nullptr;
  view.EndMoveBatch();
}

}  // namespace norv
