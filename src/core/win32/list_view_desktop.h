#pragma once

#include <windows.h>

#include "core/desktop_list_view.h"

namespace norv {

// The shell's desktop icon view: Progman > SHELLDLL_DefView > SysListView32, or, when Progman
// holds no SHELLDLL_DefView (wallpaper slideshow, newer shells), the same pair under a WorkerW
// window, top-level or a child of Progman. Null when there is none.
HWND FindShellDesktopListView();

// The desktop view reached with list-view messages. The view lives in the shell's process, so
// requests that carry data use one block of memory allocated in that process per read session.
// Every request is sent with a timeout, so a hung or vanished shell gives a failure, not a hang.
class ListViewDesktop final : public DesktopListView {
 public:
  ListViewDesktop() = default;
  ~ListViewDesktop() override;
  ListViewDesktop(const ListViewDesktop&) = delete;
  ListViewDesktop& operator=(const ListViewDesktop&) = delete;

  bool FindDesktopListView() override;
  DesktopRect GetDesktopRect() override;
  std::optional<int32_t> GetItemCount() override;

  bool BeginItemReads() override;
  std::optional<Point> GetItemPosition(int32_t index) override;
  std::optional<ItemLabel> GetItemLabel(int32_t index) override;
  void EndItemReads() override;

  bool SetItemPosition(int32_t index, int32_t x, int32_t y) override;
  bool ArrangeIcons() override;
  bool ViewStillExists() override;

  // The view found by the last FindDesktopListView (null when none was found).
  HWND handle() const { return view_; }

 private:
  std::optional<LRESULT> Send(UINT message, WPARAM wParam, LPARAM lParam) const;

  HWND view_ = nullptr;
  HANDLE shellProcess_ = nullptr;
  void* remoteBlock_ = nullptr;
};

}  // namespace norv
