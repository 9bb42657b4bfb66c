#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry.h"

namespace norv {

// What one item request returns: the icon's text as the view holds it, uncut (SnapshotDesktop
// cuts it as the shell's ANSI request would), and its image index.
struct ItemLabel {
  std::u16string text;
  int32_t imageIndex = 0;
};

// The shell's desktop icon view, the only door to the desktop. Indexes are the view's item indexes
// as of the last FindDesktopListView; a request that cannot be delivered reports failure.
class DesktopListView {
 public:
  virtual ~DesktopListView() = default;

  // Looks the desktop view up anew; false when there is none (no shell, shell restarting).
  virtual bool FindDesktopListView() = 0;
  // The area icons may occupy, in the same coordinates as item positions (every monitor).
  virtual DesktopRect GetDesktopRect() = 0;
  // 0 when there is no view; nullopt when the view did not answer (busy, hung, or gone meanwhile),
  // which says nothing about how many icons there are.
  virtual std::optional<int32_t> GetItemCount() = 0;

  // Per-item reads happen only between these two calls; any resources the reads need live there.
  virtual bool BeginItemReads() = 0;
  virtual std::optional<Point> GetItemPosition(int32_t index) = 0;
  virtual std::optional<ItemLabel> GetItemLabel(int32_t index) = 0;
  virtual void EndItemReads() = 0;

  // Moves need no read session. True when the request reached the view: its own answer is not
  // looked at (it may refuse an index it no longer holds, or adjust a move), as the next snapshot
  // shows where each icon really is.
  virtual bool SetItemPosition(int32_t index, int32_t x, int32_t y) = 0;
  virtual bool ArrangeIcons() = 0;
  // False once the view of the last find is gone (the shell replaced its desktop, as a restarted
  // Explorer does): a request that was not delivered then needs a new find, not a second try.
  virtual bool ViewStillExists() = 0;
};

// The packed argument of a list-view position request: x in the low 16 bits, y in the high 16,
// each as 16-bit two's complement.
constexpr uint32_t PackPosition(int32_t x, int32_t y) {
  return (static_cast<uint32_t>(static_cast<uint16_t>(x))) |
         (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16);
}

}  // namespace norv
