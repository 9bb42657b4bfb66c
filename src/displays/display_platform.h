#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "displays/display_configuration.h"

namespace norv {

// What following the displays needs of the platform besides the desktop and the files.
class DisplayPlatform {
 public:
  virtual ~DisplayPlatform() = default;
  // The active monitors now; nullopt when they could not be read.
  virtual std::optional<DisplayConfiguration> ReadConfiguration() = 0;
  // A steady clock in milliseconds.
  virtual uint64_t Milliseconds() = 0;
  // Now, as the user's locale writes date and time.
  virtual std::u16string NowText() = 0;
  // Whether the shell arranges the desktop's icons itself; then nothing is put back.
  virtual bool IconsAutoArranged() = 0;
};

}  // namespace norv
