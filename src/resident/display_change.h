#pragma once

#include "core/geometry.h"

namespace norv {

struct IconTable;
struct Services;

// After the display changed (a monitor added, another resolution): when the desktop's area is no
// longer `before`, the area it had until then, the icons lying beyond `before` (hidden until then)
// go just past the new lower-right corner, where a bigger desktop does not show them, and a
// snapshot follows. Shown icons stay where they are. False, changing nothing, while the area is
// still `before`: the shell may resize its view only some time after announcing the new display.
bool FollowDesktopArea(IconTable& table, Services& services, DesktopRect before);

}  // namespace norv
