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
// A view that went under the program is a shell restarting: its new desktop takes seconds, as
// long as a shell starting at logon may take for its first.
constexpr int kRestartAttempts = 24;
constexpr int kRestartRetryMilliseconds = 250;

}  // namespace

FoundItems FindDesktopItems(DesktopListView& desktop, Pause& pause, bool restartUnderWay) {
  const int attempts = restartUnderWay ? kRestartAttempts : kFindAttempts;
  for (int attempt = 1;; ++attempt) {
    const bool viewFound = desktop.FindDesktopListView();
    if (viewFound) {
      const std::optional<int32_t> count = desktop.GetItemCount();
      // A view that does not answer is busy or hung, not empty; asking again would only wait
      // longer.
      if (!count) return {DesktopFound::kNoAnswer};
      if (*count > 0) return {DesktopFound::kIcons, *count};
    }
    if (attempt == attempts) {
      // Only a view that answers 0 says there are no icons; a desktop that never had a view has
      // none either.
      return {viewFound || !restartUnderWay ? DesktopFound::kNoIcons : DesktopFound::kNoView};
    }
    pause.Wait(restartUnderWay ? kRestartRetryMilliseconds : kFindRetryMilliseconds);
  }
}

bool DesktopAnswers(DesktopListView& desktop) {
  return desktop.FindDesktopListView() && desktop.GetItemCount().has_value();
}

bool DesktopRestartUnderWay(const IconTable& table, DesktopListView& desktop) {
  return table.itemCount > 0 && !desktop.ViewStillExists();
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

namespace {

// One read of the whole desktop into `table`; see SnapshotDesktop.
SnapshotOutcome ReadDesktop(IconTable& table, Services& services) {
  DesktopListView& desktop = services.desktop;
  const FoundItems found =
      FindDesktopItems(desktop, services.pause, DesktopRestartUnderWay(table, desktop));
  if (found.found != DesktopFound::kIcons) return {found.found};
  const int32_t count = found.count;

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
  if (!items || items->size() != static_cast<size_t>(count)) return {DesktopFound::kNoAnswer};
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
  return {DesktopFound::kIcons};
}

}  // namespace

SnapshotOutcome SnapshotDesktop(IconTable& table, Services& services) {
  const SnapshotOutcome outcome = ReadDesktop(table, services);
  // A view that went in the middle of the read: the shell is restarting, wait for its new one.
  if (outcome.found == DesktopFound::kNoAnswer && DesktopRestartUnderWay(table, services.desktop))
    return ReadDesktop(table, services);
  return outcome;
}

void EndForNoIcons(Services& services) {
  services.messages.Show(kNoIconsMessage, MessageStyle::kExclamation, kMessageTitle);
  services.programEnd.EndNow();
}

SnapshotOutcome SnapshotOrEndForNoIcons(IconTable& table, Services& services) {
  const SnapshotOutcome outcome = SnapshotDesktop(table, services);
  if (outcome.found == DesktopFound::kNoIcons) EndForNoIcons(services);
  return outcome;
}

}  // namespace norv
