#include "program_services.h"

#include <algorithm>

#include "support/build_paths.h"

namespace norv::hardening {

void MeasuredPause::Wait(int milliseconds) {
  total_ += milliseconds;
  ++count_;
  Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
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
