#pragma once

#include <optional>
#include <string>

#include "displays/display_arrangements.h"
#include "displays/display_settle.h"

namespace norv {

struct AppState;
struct IconTable;
struct Services;
class DisplayPlatform;

// What became of a settled display configuration.
enum class SettleDecision {
  kNone,      // still settling, or following is off
  kRestored,  // the arrangement known for it was put back: the plain re-hide must not run
  kReHide,    // no arrangement applies: the hidden icons follow the new corner as always
};

// Arrangements that follow the display configuration, while state.followDisplays is 1.
//
// The arrangement of the configuration in use is recorded when the caller asks (after a command
// of ours moved icons, at exit, every few minutes), never while a change of the displays is
// settling: the compacted arrangement the shell makes meanwhile must not overwrite the good one.
// When the configuration settles on another one whose arrangement is known, the icons are put
// back by their texts; hidden ones go to the current hiding point, new ones stay where they are.
class DisplayFollower {
 public:
  DisplayFollower(AppState& state, Services& services, DisplayPlatform& platform);

  bool On() const;
  // A display event (or the start): recording stops until the configuration has settled.
  void OnDisplayEvent();
  bool Settling() const { return On() && settle_.Settling(); }
  // Reads the configuration when a reading is due; once it settled, restores or leaves the
  // re-hide to the caller, and records.
  SettleDecision OnTick();
  // Following was switched on: the configuration now is the one in use, its arrangement recorded.
  void SwitchedOn();

  // Records the current arrangement, from a snapshot of its own that leaves the program's table
  // alone. Nothing while off or settling, and nothing written when nothing changed.
  void Record();
  // The same from the table just taken.
  void RecordTable(const IconTable& table);

  // The arrangement from just before the last automatic restore (one level); empty when there
  // is none. The caller puts the icons back by their texts and snapshots, then reports it done:
  // the undo is spent and the arrangement recorded.
  std::vector<LayoutRecord> UndoArrangement() { return arrangements_.Undo(); }
  void UndoDone(const IconTable& table);

  // The key of the configuration in use, as far as known.
  const std::optional<std::u16string>& CurrentKey() const { return current_; }
  // The same, read from the displays when not known or while a change settles.
  std::optional<std::u16string> KeyInUse();
  DisplayArrangements& arrangements() { return arrangements_; }

 private:
  bool Restore(const DisplayEntry& entry);

  AppState& state_;
  Services& services_;
  DisplayPlatform& platform_;
  DisplayArrangements arrangements_;
  DisplaySettle settle_;
  std::optional<std::u16string> current_;
  std::u16string currentLabel_;
};

}  // namespace norv
