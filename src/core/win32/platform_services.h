#pragma once

#include <windows.h>

#include "core/app_state.h"
#include "core/profile_file.h"
#include "core/user_messages.h"

namespace norv {

// The system's private-profile functions.
class Win32ProfileFile final : public ProfileFile {
 public:
  std::u16string Read(const std::u16string& section, const std::u16string& key,
                      const std::u16string& file) override;
  bool Write(const std::u16string& section, const std::u16string& key, const std::u16string& value,
             const std::u16string& file) override;
};

// Modal message boxes owned by the window set last (none: the box has no owner).
class MessageBoxMessages final : public UserMessages {
 public:
  MessageAnswer Show(const std::u16string& text, MessageStyle style,
                     const std::u16string& title) override;
  void SetOwner(HWND owner) { owner_ = owner; }

 private:
  HWND owner_ = nullptr;
};

// Ends the process on the spot: no window sees a close or destroy.
class ExitProcessEnd final : public ProgramEnd {
 public:
  void EndNow() override;
};

class SleepPause final : public Pause {
 public:
  void Wait(int milliseconds) override;
};

}  // namespace norv
