#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/geometry.h"

namespace norv {

// One icon as the view holds it: its position, its text uncut (SnapshotDesktop cuts it as the
// shell's ANSI request would) and its image index.
struct DesktopItem {
  Point position;
  std::u16string text;
  int32_t imageIndex = 0;
};

// One icon to move: its item index as of the last find, and where it goes.
struct IconMove {
  int32_t index = 0;
  Point to;
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
  // Items 0 to count - 1 in index order; nullopt when any request failed or went unanswered.
  virtual std::optional<std::vector<DesktopItem>> ReadItems(int32_t count) = 0;

  // Sends the moves in order (as one request where the view takes several at once) and returns
  // how many of them, from the first, are known to have reached the view; a list view stops at the
  // first that did not. The view's own answers are not looked at (it may refuse an index it no
  // longer holds, or adjust a move), as the next snapshot shows where each icon really is.
  virtual size_t MoveItems(std::span<const IconMove> moves) = 0;
  bool SetItemPosition(int32_t index, int32_t x, int32_t y) {
    const IconMove move{index, {x, y}};
    return MoveItems({&move, 1}) == 1;
  }
  // Moves between these two calls form one batch: the view need not repaint before its end. Every
  // begin is ended, whatever happened to the moves. An end without a begin does no harm, so one
  // also finishes a batch that an earlier run was killed in the middle of.
  virtual void BeginMoveBatch() = 0;
  virtual void EndMoveBatch() = 0;
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
