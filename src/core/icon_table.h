#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"

namespace norv {

struct Services;
class DesktopListView;
class Pause;

enum class IconState { kShown, kHidden };

// "表示" or "非表示", as the lists show the state.
const std::u16string& StateText(IconState state);

inline constexpr size_t kIconTextWidth = 120;
inline constexpr size_t kIconTextMaxBytes = 39;

// Left-aligned in a field of kIconTextWidth characters, padded with spaces (longer text is cut).
std::u16string PadIconText(std::u16string_view text);
// The text without its trailing spaces: how icons are identified across snapshots and in files.
std::u16string_view TrimTrailingSpaces(std::u16string_view text);

// The program's one picture of the desktop icons. Index i of every per-icon array is the desktop
// view's item i; only SnapshotDesktop writes it.
struct IconTable {
  bool firstSnapshotPending = false;
  int16_t shownCount = 0;
  int16_t hiddenCount = 0;
  std::vector<Point> positions;
  // Filled by the first snapshot only; shorter than itemCount once icons were added since.
  std::vector<Point> initialPositions;
  std::vector<std::u16string> texts;  // each kIconTextWidth characters
  std::vector<int32_t> imageIndexes;
  std::vector<IconState> states;
  int32_t desktopRight = 0;
  int32_t desktopBottom = 0;
  int32_t itemCount = 0;

  DesktopRect Desktop() const { return {desktopRight, desktopBottom}; }
  Point HidingPoint() const { return HidingPointOf(Desktop()); }
};

inline constexpr char16_t kNoIconsMessage[] = u"ｱｲｺﾝが見つかりませんでした。";

// Finds the desktop view and counts its items, looking again a few times (briefly) while there is
// no view or it is empty, as while the shell restarts. 0 when it stays so; nullopt when the view
// did not answer its count.
std::optional<int32_t> FindDesktopItems(DesktopListView& desktop, Pause& pause);

// Rebuilds the table from the desktop. A desktop without icons (a view that answers 0 items, or
// no view at all after FindDesktopItems' retries) shows the no-icons message and ends the
// program. Returns false, leaving the table as it was, when a request failed or went unanswered
// part-way: a half read desktop is never taken for the real one.
bool SnapshotDesktop(IconTable& table, Services& services);

}  // namespace norv
