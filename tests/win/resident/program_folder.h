#pragma once

#include <string>
#include <string_view>

namespace norv::wintest {

// A fresh folder holding a copy of Norv.exe and its help page, so each test's settings and layout
// files start from nothing and stay out of the build tree. Removed with everything in it.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  bool ready() const { return ready_; }
  const std::wstring& path() const { return path_; }
  std::wstring File(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }
  std::wstring exe() const { return File(L"Norv.exe"); }

 private:
  std::wstring path_;
  bool ready_ = false;
};

}  // namespace norv::wintest
