#pragma once

#include <cstdint>
#include <optional>

namespace norv {

// The two options as "Norv.ini" stores them ("ReCover_0", "ReCover_1"). A hand-edited file may
// hold any 16-bit number there; it is kept and written back as read, and the members below alone
// say what a value means.
struct Options {
  int16_t restoreLastExit = 0;
  int16_t keepPositionsAtExit = 0;

  // Start-up puts the icons where the last exit left them only for exactly 1.
  bool RestoresLastExitAtStart() const { return restoreLastExit == 1; }
  // Any value but 0 leaves the icons where they are at exit. The main window refuses to go to
  // the tray by the same rule while an icon is hidden, since it would stay hidden after the exit.
  bool KeepsPositionsAtExit() const { return keepPositionsAtExit != 0; }

  bool operator==(const Options&) const = default;
};

// A check box's picture for a stored value: only 0 and 1 have one; another value keeps the
// picture shown.
inline std::optional<bool> OptionTicked(int16_t value) {
  if (value != 0 && value != 1) return std::nullopt;
  return value == 1;
}

// A click on a check box flips the lowest bit: 0 and 1 swap, another number keeps its other bits.
inline int16_t OptionToggled(int16_t value) { return static_cast<int16_t>(value ^ 1); }

}  // namespace norv
