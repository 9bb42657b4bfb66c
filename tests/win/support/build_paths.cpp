#include "support/build_paths.h"

#include <windows.h>

#include "core/win32/scoped_handles.h"
#include "testdesk/whole_file.h"

namespace norv::wintest {

std::wstring WindowsPath(std::string_view buildPath) {
  std::wstring path = buildPath.starts_with('/') ? L"Z:" : L"";
  for (char16_t c : Utf8ToU16(buildPath)) path += c == u'/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

std::wstring TestDeskExe() { return WindowsPath(NORV_TESTDESK_EXE); }

std::wstring NewTempFile() {
  wchar_t folder[MAX_PATH] = {};
  wchar_t path[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"nvt", 0, path);
  return path;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  return testdesk::ReadWholeFile(path, bytes) ? bytes : std::string();
}

bool WriteFileBytes(const std::wstring& path, std::string_view bytes) {
  return testdesk::WriteWholeFile(path, bytes);
}

std::string ReadFileBytes(const std::u16string& path) {
  return ReadFileBytes(std::wstring(path.begin(), path.end()));
}

bool WriteFileBytes(const std::u16string& path, std::string_view bytes) {
  return WriteFileBytes(std::wstring(path.begin(), path.end()), bytes);
}

bool AgeFile(const std::wstring& path, int64_t seconds) {
  const norv::ScopedHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
  if (!file.valid()) return false;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER time{};
  time.LowPart = now.dwLowDateTime;
  time.HighPart = now.dwHighDateTime;
  time.QuadPart -= static_cast<ULONGLONG>(seconds) * 10'000'000;  // FILETIME counts 100 ns
  const FILETIME then{time.LowPart, time.HighPart};
  return SetFileTime(file.get(), nullptr, nullptr, &then) != FALSE;
}

std::u16string Utf8ToU16(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::u16string text(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                      reinterpret_cast<wchar_t*>(text.data()), n);
  return text;
}

std::string U16ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), utf8.data(), n, nullptr,
                      nullptr);
  return utf8;
}

}  // namespace norv::wintest
