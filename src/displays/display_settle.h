#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace norv {

// Quiet time after the last display event before the configuration is read at all: a dock or a
// waking monitor sends a burst of events, and the shell rearranges the desktop meanwhile.
inline constexpr uint64_t kSettleQuietMilliseconds = 3000;
// Two readings of the configuration this far apart must agree.
inline constexpr uint64_t kSettleReadingGapMilliseconds = 1000;

// When a changing display configuration has settled. Every event starts the wait again; after the
// quiet time the configuration's key is read, and read again about a second later, until two
// readings in a row agree. Times are milliseconds of a steady clock, handed in by the caller.
class DisplaySettle {
 public:
  void OnEvent(uint64_t now);
  // From an event until the configuration has settled.
  bool Settling() const { return settling_; }
  bool ReadingDue(uint64_t now) const;
  // One reading of the key (nullopt: it could not be read). The settled key, once, when it equals
  // the reading before it; Settling() is then false.
  std::optional<std::u16string> OnReading(uint64_t now, std::optional<std::u16string> key);

 private:
  struct Reading {
    uint64_t at = 0;
    std::u16string key;
  };
  bool settling_ = false;
  uint64_t lastEvent_ = 0;
  std::optional<Reading> last_;
};

}  // namespace norv
