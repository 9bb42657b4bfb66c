#include "displays/display_follower.h"

#include "core/app_state.h"
#include "core/icon_table.h"
#include "core/user_messages.h"
#include "displays/display_platform.h"
#include "layout/layout_file.h"

namespace norv {
namespace {

// A recording snapshot runs unasked, in the background: a desktop it cannot read (no icons while
// the shell restarts) is simply not recorded, with no message and no end of the program.
class SilentMessages final : public UserMessages {
 public:
  MessageAnswer Show(const std::u16string&, MessageStyle style, const std::u16string&) override {
    return style == MessageStyle::kYesNoQuestion ? MessageAnswer::kNo : MessageAnswer::kOk;
  }
};

class NoEnd final : public ProgramEnd {
 public:
  void EndNow() override { ended = true; }
  bool ended = false;
};

// The records' moves on the desktop as it is now: icons recorded beyond the desktop of their
// time go to the hiding point of today's.
MovePlan PlanArrangement(std::vector<LayoutRecord> records, DesktopRect recordedDesktop) {
  return [records = std::move(records), recordedDesktop](const IconTable& now) {
    std::vector<LayoutRecord> placed = records;
    const Point hidingPoint = now.HidingPoint();
    for (LayoutRecord& record : placed) {
      if (IsBeyondDesktop({record.x, record.y}, recordedDesktop)) {
        record.x = ClampTo16Bits(hidingPoint.x);
        record.y = ClampTo16Bits(hidingPoint.y);
      }
    }
    return PlanLayoutMoves(placed, now);
  };
}

}  // namespace

DisplayFollower::DisplayFollower(AppState& state, Services& services, DisplayPlatform& platform)
    : state_(state),
      services_(services),
      platform_(platform),
      arrangements_(services.files, state.appDirectory) {}

bool DisplayFollower::On() const { return state_.followDisplays == 1; }

void DisplayFollower::OnDisplayEvent() {
  if (On()) settle_.OnEvent(platform_.Milliseconds());
}

SettleDecision DisplayFollower::OnTick() {
  if (!Settling()) return SettleDecision::kNone;
  const uint64_t now = platform_.Milliseconds();
  if (!settle_.ReadingDue(now)) return SettleDecision::kNone;
  const std::optional<DisplayConfiguration> configuration = platform_.ReadConfiguration();
  const std::optional<std::u16string> settled = settle_.OnReading(
      now, configuration ? std::optional(ConfigurationKey(*configuration)) : std::nullopt);
  if (!settled) return SettleDecision::kNone;

  // Before the first decision of a run, the configuration in use last is the one the index
  // names first.
  if (!current_) {
    const std::vector<DisplayEntry> entries = arrangements_.Entries();
    if (!entries.empty()) current_ = entries.front().key;
  }
  const bool changed = current_ != settled;
  current_ = settled;
  currentLabel_ = ConfigurationLabel(*configuration);
  if (changed) {
    if (const std::optional<DisplayEntry> known = arrangements_.Find(*settled);
        known && !platform_.IconsAutoArranged() && Restore(*known)) {
      return SettleDecision::kRestored;
    }
  }
  return SettleDecision::kReHide;
}

bool DisplayFollower::Restore(const DisplayEntry& entry) {
  std::vector<LayoutRecord> records = arrangements_.Arrangement(entry);
  // Records are matched to the icons as they are now, and the moves go by index.
  if (records.empty() || !SnapshotDesktop(state_.table, services_)) return false;
  arrangements_.SaveUndo(state_.table);
  MoveIcons(state_.table, services_, PlanArrangement(std::move(records), entry.desktop),
            OnNewDesktop::kPlanAgain);
  if (SnapshotDesktop(state_.table, services_)) RecordTable(state_.table);
  return true;
}

void DisplayFollower::SwitchedOn() {
  if (!On()) return;
  const std::optional<DisplayConfiguration> configuration = platform_.ReadConfiguration();
  if (!configuration) return;
  current_ = ConfigurationKey(*configuration);
  currentLabel_ = ConfigurationLabel(*configuration);
  Record();
}

std::optional<std::u16string> DisplayFollower::KeyInUse() {
  if (current_ && On() && !settle_.Settling()) return current_;
  const std::optional<DisplayConfiguration> configuration = platform_.ReadConfiguration();
  if (!configuration) return std::nullopt;
  return ConfigurationKey(*configuration);
}

void DisplayFollower::Record() {
  if (!On() || settle_.Settling() || !current_) return;
  SilentMessages silent;
  NoEnd noEnd;
  Services quiet{services_.desktop, services_.files, services_.profile, silent, noEnd,
                 services_.pause};
  IconTable scratch;
  if (SnapshotDesktop(scratch, quiet)) RecordTable(scratch);
}

void DisplayFollower::RecordTable(const IconTable& table) {
  if (!On() || settle_.Settling() || !current_ || table.itemCount <= 0) return;
  arrangements_.Record(*current_, currentLabel_, platform_.NowText(), table);
}

void DisplayFollower::UndoDone(const IconTable& table) {
  arrangements_.DropUndo();
  RecordTable(table);
}

}  // namespace norv
