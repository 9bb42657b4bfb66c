#include "core/icon_moves.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/desktop_list_view.h"
#include "core/icon_table.h"

namespace norv {
namespace {

// A shell that keeps replacing its desktop while one command runs is not followed for ever.
constexpr int kMaxNewDesktops = 3;

// Waits for the shell's new desktop when the old one went.
bool FoundNewDesktop(Services& services) {
  return FindDesktopItems(services.desktop, services.pause, true).found == DesktopFound::kIcons;
}

// Holds a move batch of the view open for its scope, so the batch ends however the scope is left.
class MoveBatch {
 public:
  explicit MoveBatch(DesktopListView& desktop) : desktop_(desktop) { desktop_.BeginMoveBatch(); }
  ~MoveBatch() { desktop_.EndMoveBatch(); }
  MoveBatch(const MoveBatch&) = delete;
  MoveBatch& operator=(const MoveBatch&) = delete;

 private:
  DesktopListView& desktop_;
};

// How many of the moves, from the first, reached the view.
size_t SendMoves(DesktopListView& desktop, std::span<const IconMove> moves) {
  // A single move is not worth switching the view's painting off and on.
  if (moves.size() == 1) return desktop.MoveItems(moves);
  const MoveBatch batch(desktop);
  return desktop.MoveItems(moves);
}

}  // namespace

MoveOutcome MoveIcons(IconTable& table, Services& services, const MovePlan& plan,
                      OnNewDesktop rule) {
  DesktopListView& desktop = services.desktop;
  std::vector<IconMove> moves = plan(table);
  size_t next = 0;
  // Whether the moves can go on after the view went: true with the plan to send to the new desktop.
  const auto carryOnOnNewDesktop = [&] {
    if (rule == OnNewDesktop::kStop) return false;
    if (rule == OnNewDesktop::kResendByIndex) {
      if (!FoundNewDesktop(services)) return false;
    } else {
      if (!SnapshotDesktop(table, services)) return false;
      moves = plan(table);
    }
    next = 0;
    return true;
  };

  MoveOutcome outcome;
  int newDesktops = 0;
  while (next < moves.size()) {
    const size_t sent = SendMoves(desktop, std::span(moves).subspan(next));
    outcome.delivered += static_cast<int>(sent);
    next += sent;
    if (next == moves.size()) break;
    const bool gone = !desktop.ViewStillExists();
    outcome.desktopReplaced |= gone;
    if (!gone || newDesktops++ == kMaxNewDesktops || !carryOnOnNewDesktop()) {
      outcome.allDelivered = false;
      break;
    }
  }
  return outcome;
}

std::vector<IconMove> MovesToStartupPositions(const IconTable& table) {
  const size_t count =
      std::min(static_cast<size_t>(std::max(table.itemCount, 0)), table.initialPositions.size());
  std::vector<IconMove> moves;
  moves.reserve(count);
  for (size_t i = 0; i < count; ++i)
    moves.push_back({static_cast<int32_t>(i), table.initialPositions[i]});
  return moves;
}

bool ArrangeDesktopIcons(Services& services) {
  DesktopListView& desktop = services.desktop;
  if (desktop.ArrangeIcons()) return true;
  // Arranging names no icon, so it means the same on a new desktop.
  return !desktop.ViewStillExists() && FoundNewDesktop(services) && desktop.ArrangeIcons();
}

}  // namespace norv
