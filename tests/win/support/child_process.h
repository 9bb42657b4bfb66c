#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace norv::wintest {

// A program started by a test. One that is still running when its ChildProcess goes away is
// ended, so a failed test leaves nothing behind for the next one.
class ChildProcess {
 public:
  // Inheritable handles the program gets as its standard output and error.
  struct Redirection {
    HANDLE output = nullptr;
    HANDLE error = nullptr;
  };

  // Starts `exe` with `arguments` (already quoted as needed) in `folder` (empty: the test's own).
  static std::optional<ChildProcess> Start(const std::wstring& exe,
                                           const std::wstring& arguments = {},
                                           const std::wstring& folder = {},
                                           const Redirection* redirection = nullptr);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ~ChildProcess();

  DWORD id() const { return id_; }
  HANDLE handle() const { return process_; }
  bool running() const;
  // The exit code once the program has ended, nullopt when it still runs after `timeoutMs`.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = 10000);
  // Ends the program at once and waits for it.
  void Terminate();

 private:
  ChildProcess(HANDLE process, DWORD id) : process_(process), id_(id) {}
  void Release();

  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Quotes one command-line argument the way CommandLineToArgvW reads it back.
std::wstring QuoteArgument(const std::wstring& argument);

}  // namespace norv::wintest
