#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace norv::test {

// A program of the build, started by a test and ended (if still running) when the test ends.
class ChildProcess {
 public:
  explicit ChildProcess(const std::wstring& program);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  // The exit code once the program has ended within the time, else nullopt.
  std::optional<DWORD> WaitForExit(DWORD milliseconds);
  // A top-level dialog window of this process (a message box), waiting until one shows, the
  // process ends or the time runs out.
  HWND WaitForDialog(DWORD milliseconds);

 private:
  PROCESS_INFORMATION info_{};
};

// A path CMake recorded for a program of the build, usable by CreateProcess: under Wine a Unix
// path is reached through drive Z:.
std::wstring BuildPath(const char* recordedPath);

// The text of a control of a dialog.
std::wstring ItemText(HWND dialog, int id);
std::wstring WindowText(HWND window);

}  // namespace norv::test
