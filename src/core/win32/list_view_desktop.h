#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "core/desktop_list_view.h"
#include "core/win32/remote_block.h"

namespace norv {

// The shell's desktop icon view: Progman > SHELLDLL_DefView > SysListView32, or, when Progman
// holds no SHELLDLL_DefView (wallpaper slideshow, newer shells), the same pair under a WorkerW
// window, top-level or a child of Progman. Null when there is none.
HWND FindShellDesktopListView();

// The desktop view reached with list-view messages. The view lives in the shell's process, so a
// read lays every item's requests out in one block of memory allocated there, written once and
// read back once, and freed only when the view is known to be done with it. Moves of a batch go
// with the view's redraw off, and the view is repainted once at its end. Every request is sent with
// a timeout, so a hung or vanished shell gives a failure, not a hang.
class ListViewDesktop final : public DesktopListView {
 public:
  ListViewDesktop() = default;
  ListViewDesktop(const ListViewDesktop&) = delete;
  ListViewDesktop& operator=(const ListViewDesktop&) = delete;

  bool FindDesktopListView() override;
  DesktopRect GetDesktopRect() override;
  std::optional<int32_t> GetItemCount() override;
  std::optional<std::vector<DesktopItem>> ReadItems(int32_t count) override;

  size_t MoveItems(std::span<const IconMove> moves) override;
  void BeginMoveBatch() override;
  void EndMoveBatch() override;
  bool ArrangeIcons() override;
  bool ViewStillExists() override;

  // The view found by the last FindDesktopListView (null when none was found).
  HWND handle() const { return view_; }
  // Every operation on the shell's memory so far.
  const RemoteMemoryCounts& remoteMemory() const { return remoteMemory_; }

 private:
  std::optional<LRESULT> Send(UINT message, WPARAM wParam, LPARAM lParam);
  // Keeps a block that an unanswered request pointed into: the shell may still write there.
  void KeepUntilAnswered(std::unique_ptr<RemoteBlock> block);

  struct KeptBlock {
    HWND view;
    std::unique_ptr<RemoteBlock> block;
  };

  HWND view_ = nullptr;
  // A batch of ours switched the view's redraw off.
  bool redrawHeld_ = false;
  RemoteMemoryCounts remoteMemory_;
  // Freed once the same view answers a later request: a view answers its requests in order, so
  // it is done with them. Blocks of a view that never answers again stay (small, and safe).
  std::vector<KeptBlock> keptBlocks_;
};

}  // namespace norv
