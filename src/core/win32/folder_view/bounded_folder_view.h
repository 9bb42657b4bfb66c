#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>

#include "core/bounded_worker.h"
#include "core/desktop_list_view.h"
#include "core/win32/folder_view/folder_view_desktop.h"

namespace norv {

// The longest a call into Explorer may take, the same as a list-view request.
constexpr std::chrono::milliseconds kExplorerCallDeadline{3000};

// The folder view, talked to from a thread of its own so that a hung Explorer costs the caller a
// deadline per call, not a hang: a call past its deadline is an unanswered request, as a
// list-view request that timed out is. While it waits, the calling thread answers the messages
// other threads send it, as it would while waiting on the call itself.
class BoundedFolderView final : public DesktopListView {
 public:
  explicit BoundedFolderView(FolderViewShell shell = SystemFolderViewShell(),
                             std::chrono::milliseconds deadline = kExplorerCallDeadline);
  ~BoundedFolderView() override;
  BoundedFolderView(const BoundedFolderView&) = delete;
  BoundedFolderView& operator=(const BoundedFolderView&) = delete;

  // The view's window as of the last find; nullptr when it failed.
  HWND ViewWindow() const { return viewWindow_; }

  bool FindDesktopListView() override;
  DesktopRect GetDesktopRect() override;
  std::optional<int32_t> GetItemCount() override;
  std::optional<std::vector<DesktopItem>> ReadItems(int32_t count) override;
  size_t MoveItems(std::span<const IconMove> moves) override;
  void BeginMoveBatch() override {}
  void EndMoveBatch() override {}
  bool ArrangeIcons() override;
  bool ViewStillExists() override { return viewWindow_ && IsWindow(viewWindow_); }

 private:
  // Runs work(desktop) on the worker; nullopt when it did not come back in time.
  template <class Result, class Work>
  std::optional<Result> Ask(Work work);

  BoundedWorker worker_;
  // Made, used and destroyed on the worker's thread only, which may outlive this object.
  std::shared_ptr<FolderViewDesktop> desktop_;
  HWND viewWindow_ = nullptr;
};

}  // namespace norv
