#include "program_folder.h"

#include <windows.h>

#include <atomic>
#include <filesystem>

#include "support/build_paths.h"

namespace norv::wintest {

ProgramFolder::ProgramFolder() {
  static std::atomic<int> serial{0};
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  // Process ids repeat between runs; a folder an interrupted run left behind is not reused.
  bool created = false;
  for (int attempt = 0; attempt < 100 && !created; ++attempt) {
    path_ = std::wstring(temp) + L"norv-resident-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++serial);
    created = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
  }
  const std::wstring built = WindowsPath(NORV_EXE_PATH);
  const std::wstring builtFolder = built.substr(0, built.find_last_of(L'\\'));
  ready_ =
      created && CopyFileW(built.c_str(), exe().c_str(), TRUE) &&
      CopyFileW((builtFolder + L"\\Norvane.html").c_str(), File(L"Norvane.html").c_str(), TRUE);
}

ProgramFolder::~ProgramFolder() {
  std::error_code error;
  // Read-only files would stop the removal.
  for (const auto& entry : std::filesystem::directory_iterator(path_, error))
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(path_, error);
}

}  // namespace norv::wintest
