#include "support/test_folder.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "core/win32/wide_text.h"

namespace norv::wintest {

TestFolder::TestFolder() {
  static int serial = 0;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  // Process ids repeat between runs; a folder an interrupted run left behind is not reused.
  for (int attempt = 0; attempt < 100 && !owned_; ++attempt) {
    const std::wstring name = std::wstring(temp) + L"norv-test-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++serial);
    path_ = reinterpret_cast<const char16_t*>(name.c_str());
    owned_ = CreateDirectoryW(name.c_str(), nullptr) != FALSE;
  }
}

TestFolder::~TestFolder() {
  if (!owned_) return;
  const std::filesystem::path root(Wide(path_));
  std::error_code error;
  // Read-only files would stop the removal.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error))
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(root, error);
}

std::u16string TestFolder::operator/(std::u16string_view name) const {
  return path_ + u"\\" + std::u16string(name);
}

std::vector<std::u16string> TestFolder::Names() const {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(Wide(path_ + u"\\*"), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::u16string name = reinterpret_cast<const char16_t*>(entry.cFileName);
    if (name != u"." && name != u"..") names.push_back(name);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace norv::wintest
