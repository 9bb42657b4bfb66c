#pragma once

#include <vector>

#include "core/desktop_list_view.h"
#include "core/geometry.h"

namespace norv {

struct IconTable;
struct Services;

// How far following a display change got.
enum class DisplayFollow {
  // The desktop's area is still the one before: the shell may resize its view only some time
  // after announcing the new display. Nothing was done.
  kAreaUnchanged,
  // Every hidden icon lies past the new corner, and the table shows it.
  kFollowed,
  // A snapshot failed or a move was not delivered: worth another try.
  kTryAgain,
};

// The moves that keep hidden icons hidden on a desktop whose area was `before` until now: every
// icon of `now` (a snapshot of the desktop as it is) lying past the old corner goes just past the
// new one. Judged by position, not by the old indexes or states: icons may have gone or the
// shell restarted since, and the new area may show what was hidden.
std::vector<IconMove> MovesPastNewCorner(const IconTable& now, DesktopRect before);

// After the display changed (a monitor added, another resolution): when the desktop's area is no
// longer `before`, a fresh snapshot, the moves above, and a snapshot after them. Shown icons stay
// where they are.
DisplayFollow FollowDesktopArea(IconTable& table, Services& services, DesktopRect before);

}  // namespace norv
