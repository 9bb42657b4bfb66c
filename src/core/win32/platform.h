#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "core/app_state.h"

namespace norv {

// The Windows implementations of every platform interface, wired into Services.
class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Services& services() { return *services_; }

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  std::unique_ptr<Services> services_;
};

// The folder holding the running program, without a trailing "\" except at a drive root.
std::u16string ProgramDirectory();
// The folder part of a program's full path by the same rule ("C:\a\Norv.exe" gives "C:\a",
// "C:\Norv.exe" gives "C:\").
std::u16string DirectoryOfProgramPath(std::u16string_view programPath);

}  // namespace norv
