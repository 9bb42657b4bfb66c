#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace norv::wintest {

// Collects the lines this process writes with OutputDebugString while it lives, as a debugger
// would receive them (the system raises each line as an exception that a vectored handler sees
// first). One recorder at a time, on the test's own thread.
class DebugOutputRecorder {
 public:
  DebugOutputRecorder();
  ~DebugOutputRecorder();
  DebugOutputRecorder(const DebugOutputRecorder&) = delete;
  DebugOutputRecorder& operator=(const DebugOutputRecorder&) = delete;

  const std::vector<std::string>& lines() const { return lines_; }
  // How many of the lines contain `text`.
  int Count(std::string_view text) const;

 private:
  static LONG CALLBACK Note(EXCEPTION_POINTERS* exception);

  void* handler_;
  std::vector<std::string> lines_;
};

}  // namespace norv::wintest
