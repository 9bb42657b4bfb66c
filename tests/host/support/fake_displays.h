#pragma once

#include <optional>

#include "displays/display_platform.h"

namespace norv::test {

// Displays that a test sets, a clock it moves on, and the shell's auto-arrange as it says.
class FakeDisplays : public DisplayPlatform {
 public:
  std::optional<DisplayConfiguration> configuration =
      DisplayConfiguration{{{u"DEL", 1920, 1200, 0, 0, 0, 96, true}}, false};
  uint64_t now = 0;
  bool autoArranged = false;
  int reads = 0;

  std::optional<DisplayConfiguration> ReadConfiguration() override {
    ++reads;
    return configuration;
  }
  uint64_t Milliseconds() override { return now; }
  std::u16string NowText() override { return u"2026/12/08 12:00:00"; }
  bool IconsAutoArranged() override { return autoArranged; }
};

}  // namespace norv::test
