#include "child_process.h"

#include <vector>

namespace norv::test {
namespace {

constexpr DWORD kPollMilliseconds = 20;

struct DialogSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<DialogSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (owner == search->processId && IsWindowVisible(window) &&
      std::wstring(className) == L"#32770") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info_)) {
    info_ = {};
  }
}

ChildProcess::~ChildProcess() {
  if (!started()) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD milliseconds) {
  if (!started() || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND ChildProcess::WaitForDialog(DWORD milliseconds) {
  if (!started()) return nullptr;
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    DialogSearch search{info_.dwProcessId, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (GetTickCount64() >= deadline) return nullptr;
    // Waiting on the process itself: a program that ends instead shows no dialog.
    if (WaitForSingleObject(info_.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) return nullptr;
  }
}

std::wstring BuildPath(const char* recordedPath) {
  std::wstring path(recordedPath, recordedPath + strlen(recordedPath));
  if (!path.empty() && path.front() == L'/') path = L"Z:" + path;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::wstring ItemText(HWND dialog, int id) {
  const HWND item = GetDlgItem(dialog, id);
  return item ? WindowText(item) : std::wstring();
}

std::wstring WindowText(HWND window) {
  std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return std::wstring(text.data(), static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace norv::test
