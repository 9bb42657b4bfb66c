#include "resident/display_change.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/icon_moves.h"
#include "core/icon_table.h"

namespace norv {

std::vector<IconMove> MovesPastNewCorner(const IconTable& now, DesktopRect before) {
  std::vector<IconMove> moves;
  const size_t count =
      std::min(static_cast<size_t>(std::max(now.itemCount, 0)), now.positions.size());
  for (size_t i = 0; i < count; ++i) {
    if (IsBeyondDesktop(now.positions[i], before))
      moves.push_back({static_cast<int32_t>(i), now.HidingPoint()});
  }
  return moves;
}

DisplayFollow FollowDesktopArea(IconTable& table, Services& services, DesktopRect before) {
  DesktopListView& desktop = services.desktop;
  if (!desktop.FindDesktopListView()) return DisplayFollow::kTryAgain;
  if (desktop.GetDesktopRect() == before) return DisplayFollow::kAreaUnchanged;
  if (!SnapshotOrEndForNoIcons(table, services)) return DisplayFollow::kTryAgain;
  const MoveOutcome moved = MoveIcons(
      table, services, [&](const IconTable& now) { return MovesPastNewCorner(now, before); },
      OnNewDesktop::kPlanAgain);
  const bool taken = static_cast<bool>(SnapshotOrEndForNoIcons(table, services));
  return moved.allDelivered && taken ? DisplayFollow::kFollowed : DisplayFollow::kTryAgain;
}

}  // namespace norv
