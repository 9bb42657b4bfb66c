#pragma once

#include <cstdint>
#include <string>

#include "core/icon_table.h"
#include "core/options.h"

namespace norv {

class DesktopListView;
class FileSystem;
class ProfileFile;
class UserMessages;
class ProgramEnd;
class Pause;

// What the program knows for the whole run, shared by the windows: the desktop's icons, its
// folder, the layouts saved there and its options. Each window keeps its own state.
struct AppState {
  IconTable table;
  Options options;
  // Exactly 1: arrangements follow the display configuration ("FollowDisplays" in Norv.ini).
  int16_t followDisplays = 0;
  int16_t savedLayoutCount = 0;
  std::u16string appDirectory;
};

// The platform behind the portable logic.
struct Services {
  DesktopListView& desktop;
  FileSystem& files;
  ProfileFile& profile;
  UserMessages& messages;
  ProgramEnd& programEnd;
  Pause& pause;
};

// The same services with other message boxes (modal to a window of their own).
inline Services WithMessages(const Services& services, UserMessages& messages) {
  return Services{services.desktop, services.files,      services.profile,
                  messages,         services.programEnd, services.pause};
}

// Waits between retries; the Windows implementation sleeps, tests record and return at once.
class Pause {
 public:
  virtual ~Pause() = default;
  virtual void Wait(int milliseconds) = 0;
};

}  // namespace norv
