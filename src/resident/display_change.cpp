#include "resident/display_change.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/desktop_list_view.h"
#include "core/icon_moves.h"
#include "core/icon_table.h"

namespace norv {

bool FollowDesktopArea(IconTable& table, Services& services, DesktopRect before) {
  DesktopListView& desktop = services.desktop;
  if (!desktop.FindDesktopListView()) return false;
  const DesktopRect area = desktop.GetDesktopRect();
  if (area == before) return false;
  const Point hidingPoint = HidingPointOf(area);
  // Judged by position rather than by the last snapshot's states: a snapshot taken since the
  // display changed has judged the new area already. By the last snapshot's indexes, which on a
  // desktop the shell replaced meanwhile name other icons: then nothing moves.
  MoveIcons(
      table, services,
      [&](const IconTable& last) {
        std::vector<IconMove> moves;
        const size_t count =
            std::min(static_cast<size_t>(std::max(last.itemCount, 0)), last.positions.size());
        for (size_t i = 0; i < count; ++i) {
          if (IsBeyondDesktop(last.positions[i], before))
            moves.push_back({static_cast<int32_t>(i), hidingPoint});
        }
        return moves;
      },
      OnNewDesktop::kStop);
  SnapshotOrEndForNoIcons(table, services);
  return true;
}

}  // namespace norv
