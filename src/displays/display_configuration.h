#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norv {

// One active monitor as Windows reports it.
struct MonitorInfo {
  // What tells this monitor from others across boots: its EDID manufacturer and product codes
  // with its device path where Windows gives them, else its device-interface name. Never a monitor
  // number such as \\.\DISPLAY2, which changes between boots.
  std::u16string identity;
  int32_t width = 0;
  int32_t height = 0;
  // The top-left corner relative to the main monitor's.
  int32_t x = 0;
  int32_t y = 0;
  int32_t orientation = 0;  // degrees: 0, 90, 180 or 270
  int32_t dpi = 96;         // effective
  bool main = false;
};

// The displays the desktop spreads over, and whether the session is a remote one.
struct DisplayConfiguration {
  std::vector<MonitorInfo> monitors;
  bool remoteSession = false;
};

// The text that names a configuration: the same monitors in the same places with the same modes
// give the same key whatever order Windows lists them in. Two identical monitors differ by
// position.
std::u16string ConfigurationKey(const DisplayConfiguration& configuration);

// What the user reads: "2 台: 2560×1440 125% (メイン) + 1920×1200 150%", the main monitor first.
std::u16string ConfigurationLabel(const DisplayConfiguration& configuration);

// A configuration written as text, one monitor a line ("identity width height x y orientation
// dpi", "main" after the main one's) and an optional line "remote": how a test hands the program
// the displays it cannot change under Wine. nullopt when a line does not read.
std::optional<DisplayConfiguration> ParseConfigurationText(std::string_view text);

}  // namespace norv
