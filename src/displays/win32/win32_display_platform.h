#pragma once

#include "displays/display_platform.h"

namespace norv {

// Where a test names a file that describes the displays (see ParseConfigurationText): Wine cannot
// dock or undock its screen, so the end-to-end tests change that file instead. Unset, the
// monitors are read from Windows.
inline constexpr wchar_t kTestDisplaysVariable[] = L"NORV_TEST_DISPLAYS";

// The active monitors from QueryDisplayConfig: each by its EDID codes and device path, its mode,
// place, rotation and effective DPI; the session's remoteness; the clock; the desktop view's
// auto-arrange style.
class Win32DisplayPlatform final : public DisplayPlatform {
 public:
  std::optional<DisplayConfiguration> ReadConfiguration() override;
  uint64_t Milliseconds() override;
  std::u16string NowText() override;
  bool IconsAutoArranged() override;
};

}  // namespace norv
