#pragma once

#include <string>
#include <string_view>

#include "core/win32/wide_text.h"
#include "support/test_folder.h"

namespace norv::wintest {

// A fresh folder holding a copy of Norv.exe and its help page, so each test's settings and layout
// files start from nothing and stay out of the build tree. Removed with everything in it.
class ProgramFolder {
 public:
  ProgramFolder();

  bool ready() const { return ready_; }
  std::wstring path() const { return Wide(folder_.path()); }
  std::wstring File(std::wstring_view name) const { return path() + L"\\" + std::wstring(name); }
  std::wstring exe() const { return File(L"Norv.exe"); }

 private:
  TestFolder folder_;
  bool ready_ = false;
};

}  // namespace norv::wintest
