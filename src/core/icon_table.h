#pragma once

#include <cstdint>
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

// What a look at the desktop found.
enum class DesktopFound {
  kIcons,
  // A view that answers that it holds no items, or no view at all where there was none before.
  kNoIcons,
  // The view the program knew went and no new one came in time: a shell still restarting, or
  // gone. Says nothing about the icons.
  kNoView,
  // A view that did not answer (busy or hung), or a request that failed part-way.
  kNoAnswer,
};

// Finds the desktop view and counts its items. While there is no view or it is empty, looks
// again: briefly, or for several seconds when `restartUnderWay` (the view the program knew is
// gone, so a new one is coming). `count` is set with kIcons only.
struct FoundItems {
  DesktopFound found = DesktopFound::kNoIcons;
  int32_t count = 0;
};
FoundItems FindDesktopItems(DesktopListView& desktop, Pause& pause, bool restartUnderWay);

// One look, without waiting: whether a desktop view exists and answers its count.
bool DesktopAnswers(DesktopListView& desktop);

// Whether the view of the last find is gone while the table still pictures a desktop: the shell
// is replacing its desktop.
bool DesktopRestartUnderWay(const IconTable& table, DesktopListView& desktop);

// What a snapshot did; true only when the table was rebuilt.
struct SnapshotOutcome {
  DesktopFound found = DesktopFound::kNoAnswer;
  explicit operator bool() const { return found == DesktopFound::kIcons; }
};

// Rebuilds the table from the desktop. Ends nothing: what a desktop without icons means is the
// caller's to decide. Any other outcome than kIcons leaves the table as it was: a half read
// desktop is never taken for the real one. A view that went under the program is waited for.
SnapshotOutcome SnapshotDesktop(IconTable& table, Services& services);

// Tells the user that the desktop holds no icons and ends the program at once.
void EndForNoIcons(Services& services);

// The snapshot after a step of the program's own: a desktop that answers it has no icons ends the
// program after telling the user, as nothing the program does makes sense without icons.
SnapshotOutcome SnapshotOrEndForNoIcons(IconTable& table, Services& services);

}  // namespace norv
