#pragma once

#include <windows.h>

#include "core/win32/scoped_handles.h"

namespace norv {

// System libraries come from the system folder only: nothing planted beside the program or in the
// current directory is loaded.
void RestrictLibrarySearch();

// Held for the whole run. A second Norv.exe in the same user session finds it taken.
class SingleInstance {
 public:
  SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool IsFirst() const { return first_; }
  // Whether a Norv.exe holds it now, without taking it.
  static bool HeldElsewhere();

 private:
  ScopedHandle mutex_;
  // After mutex_: it reads the last error that making the mutex left.
  bool first_;
};

}  // namespace norv
