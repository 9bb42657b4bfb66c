#include "core/icon_table.h"

#include "core/app_state.h"
#include "core/cp932.h"
#include "core/desktop_list_view.h"
#include "core/user_messages.h"

namespace norv {
namespace {

// While Explorer restarts the desktop view is briefly missing or empty. Ending then would lose
// the start-up positions needed to put hidden icons back, so look again a few times first.
constexpr int kFindAttempts = 5;
constexpr int kFindRetryMilliseconds = 100;

}  // namespace

std::optional<int32_t> FindDesktopItems(DesktopListView& desktop, Pause& pause) {
  for (int attempt = 1;; ++attempt) {
    if (desktop.FindDesktopListView()) {
      const std::optional<int32_t> count = desktop.GetItemCount();
      // A view that does not answer is busy or hung, not empty; asking again would only wait
      // longer.
      if (!count || *count > 0) return count;
    }
    if (attempt == kFindAttempts) return 0;
    pause.Wait(kFindRetryMilliseconds);
  }
}

const std::u16string& StateText(IconState state) {
  static const std::u16string shown = u"表示";
  static const std::u16string hidden = u"非表示";
  return state == IconState::kHidden ? hidden : shown;
}

std::u16string PadIconText(std::u16string_view text) {
  std::u16string field(text.substr(0, kIconTextWidth));
  field.resize(kIconTextWidth, u' ');
  return field;
}

std::u16string_view TrimTrailingSpaces(std::u16string_view text) {
  const size_t end = text.find_last_not_of(u' ');
  return end == std::u16string_view::npos ? std::u16string_view() : text.substr(0, end + 1);
}

bool SnapshotDesktop(IconTable& table, Services& services) {
  DesktopListView& desktop = services.desktop;
  const std::optional<int32_t> found = FindDesktopItems(desktop, services.pause);
  // Unanswered is not empty: like any failed snapshot it keeps the last picture.
  if (!found) return false;
  const int32_t count = *found;
  if (count <= 0) {
    services.messages.Show(kNoIconsMessage, MessageStyle::kExclamation, kMessageTitle);
    services.programEnd.EndNow();
    return false;
  }

  // Built aside and committed whole, so a failure part-way leaves the last good table.
  IconTable next;
  next.firstSnapshotPending = false;
  next.initialPositions = table.initialPositions;
  next.itemCount = count;
  const DesktopRect rect = desktop.GetDesktopRect();
  next.desktopRight = rect.right;
  next.desktopBottom = rect.bottom;
  next.positions.reserve(static_cast<size_t>(count));
  next.texts.reserve(static_cast<size_t>(count));
  next.imageIndexes.reserve(static_cast<size_t>(count));
  next.states.reserve(static_cast<size_t>(count));
  if (table.firstSnapshotPending) next.initialPositions.clear();

  const std::optional<std::vector<DesktopItem>> items = desktop.ReadItems(count);
  if (!items || items->size() != static_cast<size_t>(count)) return false;
  for (const DesktopItem& item : *items) {
    next.positions.push_back(item.position);
    if (table.firstSnapshotPending) next.initialPositions.push_back(item.position);
    const bool hidden = IsBeyondDesktop(item.position, rect);
    next.states.push_back(hidden ? IconState::kHidden : IconState::kShown);
    (hidden ? next.hiddenCount : next.shownCount)++;
    // As the shell's ANSI request would give the text: code page 932, at most 39 bytes, never half
    // a double-byte character.
    next.texts.push_back(
        PadIconText(DecodeCp932(CutCp932(EncodeCp932(item.text), kIconTextMaxBytes))));
    next.imageIndexes.push_back(item.imageIndex);
  }
  table = std::move(next);
  return true;
}

}  // namespace norv
