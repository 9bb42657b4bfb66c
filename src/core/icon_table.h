#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/geometry.h"

namespace norv {

struct Services;

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
};

inline constexpr char16_t kNoIconsMessage[] = u"ｱｲｺﾝが見つかりませんでした。";

// Rebuilds the table from the desktop. A desktop without icons (or without a desktop view, after
// a short bounded retry for a shell that is restarting) shows the no-icons message and ends the
// program. Returns false, leaving the table as it was, when a request failed part-way: a half
// read desktop is never taken for the real one.
bool SnapshotDesktop(IconTable& table, Services& services);

}  // namespace norv
