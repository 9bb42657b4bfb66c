#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/desktop_list_view.h"

namespace norv {

struct IconTable;
struct Services;

// A command's moves, worked out from a picture of the desktop.
using MovePlan = std::function<std::vector<IconMove>(const IconTable&)>;

// What a command does when the desktop its moves were planned for is replaced under it (the shell
// restarted): the old indexes mean nothing on the new one.
enum class OnNewDesktop {
  // The user chose particular icons: nothing moves on the new desktop. The caller's snapshot
  // shows it, and the user chooses again.
  kStop,
  // The moves name icons by index anyway (their start-up places): the whole plan again, from the
  // first move, since a new desktop shows the positions the shell last kept, not the moves the old
  // one took. A move sent twice does no harm.
  kResendByIndex,
  // The moves follow from the desktop itself: take a snapshot of the new one, plan again.
  kPlanAgain,
};

struct MoveOutcome {
  int delivered = 0;             // moves that reached a desktop view
  bool allDelivered = true;      // none was left out
  bool desktopReplaced = false;  // the moves met a new desktop
};

// The one way every command moves icons. Sends the plan's moves in order, more than one as one
// batch per desktop view; a move the view refuses counts as delivered (the following snapshot
// shows where each icon really is). Stops at the first move that does not reach the view while it
// still exists (a busy or hung shell, which would only make every further move wait as long). A
// view that is gone means the shell is restarting: its new desktop is waited for (several
// seconds) and `rule` decides what follows; when none comes, the moves stop there.
MoveOutcome MoveIcons(IconTable& table, Services& services, const MovePlan& plan,
                      OnNewDesktop rule);

// Every icon that has a start-up position back to it, by index; icons added since stay put.
std::vector<IconMove> MovesToStartupPositions(const IconTable& table);

// Asks the desktop to arrange its icons, on a new desktop again when the old one is gone; false
// when the request reached no view.
bool ArrangeDesktopIcons(Services& services);

}  // namespace norv
