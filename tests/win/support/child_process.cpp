#include "support/child_process.h"

#include <cstdio>
#include <utility>

namespace norv::wintest {

std::optional<ChildProcess> ChildProcess::Start(const std::wstring& exe,
                                                const std::wstring& arguments,
                                                const std::wstring& folder,
                                                const Redirection* redirection) {
  std::wstring commandLine = QuoteArgument(exe);
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (redirection) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = redirection->output;
    startup.hStdError = redirection->error;
  }
  PROCESS_INFORMATION info{};
  // Wine now and then refuses a start under load with an error a second try does not meet; a
  // program that is not there fails every time.
  constexpr int kAttempts = 3;
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, redirection != nullptr, 0,
                       nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
      break;
    }
    std::fwprintf(stderr, L"CreateProcessW %ls: error %lu\n", exe.c_str(), GetLastError());
    if (attempt == kAttempts) return std::nullopt;
  }
  CloseHandle(info.hThread);
  return ChildProcess(info.hProcess, info.dwProcessId);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Release();
    process_ = std::exchange(other.process_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

ChildProcess::~ChildProcess() { Release(); }

void ChildProcess::Release() {
  if (!process_) return;
  if (running()) Terminate();
  CloseHandle(process_);
  process_ = nullptr;
}

bool ChildProcess::running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void ChildProcess::Terminate() {
  if (!process_) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 10000);
}

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double only before a quote.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

}  // namespace norv::wintest
