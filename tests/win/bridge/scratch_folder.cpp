#include "scratch_folder.h"

#include <windows.h>

#include <stdexcept>

#include "core/win32/scoped_handles.h"
#include "core/win32/wide_text.h"

namespace norv::test {
namespace {

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry{};
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
  wchar_t base[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, base);
  if (length == 0) throw std::runtime_error("no temporary folder");
  static unsigned counter = 0;
  const std::wstring folder = std::wstring(base, length) + L"norv-test-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter++);
  RemoveTree(folder);
  if (!CreateDirectoryW(folder.c_str(), nullptr)) throw std::runtime_error("cannot make folder");
  path_ = FromWide(folder);
}

ScratchFolder::~ScratchFolder() {
  RemoveTree(std::wstring(reinterpret_cast<const wchar_t*>(path_.c_str()), path_.size()));
}

void WriteFileBytes(const std::u16string& path, const std::string& bytes) {
  const ScopedHandle file(CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file.valid() ||
      !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    throw std::runtime_error("cannot write test file");
  }
}

std::string ReadFileBytes(const std::u16string& path) {
  const ScopedHandle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) throw std::runtime_error("cannot open test file");
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

void SetAttributes(const std::u16string& path, unsigned long attributes) {
  if (!SetFileAttributesW(Wide(path), attributes))
    throw std::runtime_error("cannot set attributes");
}

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace norv::test
