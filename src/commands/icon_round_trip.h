#pragma once

#include <optional>
#include <string_view>

#include "core/geometry.h"

namespace norv {

class CommandOutput;
class DesktopListView;

// Reads icon 0's position with a read of its own; nullopt when it cannot be read.
std::optional<Point> ReadFirstIconPosition(DesktopListView& desktop);

// Moves icon 0 from `start` to `hidingPoint` and back, printing each move and the position read
// back after it. Whatever failed on the way, it always ends by putting the icon back at `start`.
// Returns the failure to report, or nullopt when both moves read back exactly.
std::optional<std::u16string_view> RoundTripFirstIcon(DesktopListView& desktop, Point start,
                                                      Point hidingPoint, CommandOutput& out);

// "(x, y)"
std::u16string PointText(Point point);

}  // namespace norv
