#include "commands/icon_round_trip.h"

#include <string>
#include <vector>

#include "commands/command_output.h"
#include "commands/diagnosis_texts.h"
#include "core/desktop_list_view.h"

namespace norv {
namespace {

namespace text = diagnosis_text;

// A put-back whose read disagrees is tried again: the shell may have taken the move late.
constexpr int kPutBackAttempts = 3;

// Moves icon 0 and reads where it went, printing both under `label`. True when it went there.
bool MoveAndReadBack(DesktopListView& desktop, std::u16string_view label, Point to,
                     CommandOutput& out) {
  std::u16string line = Concat({label, PointText(to)});
  const bool moved = desktop.SetItemPosition(0, to.x, to.y);
  const std::optional<Point> at = ReadFirstIconPosition(desktop);
  if (!moved) line += text::kNotMoved;
  line += at ? Concat({text::kReadBack, PointText(*at)}) : std::u16string(text::kNotRead);
  out.Out(line);
  return moved && at == to;
}

}  // namespace

std::u16string PointText(Point point) {
  return Concat({u"(", DecimalText(point.x), u", ", DecimalText(point.y), u")"});
}

std::optional<Point> ReadFirstIconPosition(DesktopListView& desktop) {
  const std::optional<std::vector<DesktopItem>> items = desktop.ReadItems(1);
  if (!items || items->empty()) return std::nullopt;
  return items->front().position;
}

std::optional<std::u16string_view> RoundTripFirstIcon(DesktopListView& desktop, Point start,
                                                      Point hidingPoint, CommandOutput& out) {
  const bool hidden = MoveAndReadBack(desktop, text::kToHidingPoint, hidingPoint, out);
  // Also after a failed move: its request may have arrived though the answer did not.
  int attempts = 0;
  bool back = false;
  while (!back && attempts < kPutBackAttempts) {
    back = MoveAndReadBack(desktop, text::kBack, start, out);
    ++attempts;
  }
  if (!back) return text::kNotBack;
  if (!hidden) return text::kNotHidden;
  if (attempts > 1) return text::kBackOnRetry;
  return std::nullopt;
}

}  // namespace norv
