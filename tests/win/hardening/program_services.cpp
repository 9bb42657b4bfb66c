#include "program_services.h"

#include <algorithm>

#include "support/build_paths.h"

namespace norv::hardening {

void MeasuredPause::Wait(int milliseconds) {
  total_ += milliseconds;
  ++count_;
  Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

const wchar_t* W(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

ProgramFolder::ProgramFolder() : owned_(true) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int made = 0;
  const std::wstring name = std::wstring(temp) + L"norv-hardening-" +
                            std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made);
  CreateDirectoryW(name.c_str(), nullptr);
  path_ = reinterpret_cast<const char16_t*>(name.c_str());
}

ProgramFolder::~ProgramFolder() {
  if (!owned_) return;
  for (const std::u16string& name : Names()) {
    const std::u16string file = *this / name;
    SetFileAttributesW(W(file), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(W(file));
  }
  RemoveDirectoryW(W(path_));
}

std::u16string ProgramFolder::operator/(std::u16string_view name) const {
  return path_ + u"\\" + std::u16string(name);
}

std::vector<std::u16string> ProgramFolder::Names() const {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(W(path_ + u"\\*"), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::u16string name = reinterpret_cast<const char16_t*>(entry.cFileName);
    if (name != u"." && name != u"..") names.push_back(name);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const std::u16string& path) {
  return wintest::ReadFileBytes(reinterpret_cast<const wchar_t*>(path.c_str()));
}

bool WriteBytes(const std::u16string& path, std::string_view bytes) {
  return wintest::WriteFileBytes(reinterpret_cast<const wchar_t*>(path.c_str()), bytes);
}

bool Exists(const std::u16string& path) {
  return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
}

std::string LayoutRecordBytes(std::string_view cp932Text, int16_t x, int16_t y) {
  std::string record(cp932Text.substr(0, 120));
  record.resize(120, ' ');
  for (int16_t value : {x, y}) {
    const auto bits = static_cast<uint16_t>(value);
    record.push_back(static_cast<char>(bits & 0xFF));
    record.push_back(static_cast<char>(bits >> 8));
  }
  return record;
}

}  // namespace norv::hardening
