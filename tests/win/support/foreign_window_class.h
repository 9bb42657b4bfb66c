#pragma once

#include <windows.h>

namespace norv::wintest {

// A window class registered in this process under `name` with a window procedure not ours, as if
// someone else held the name; unregistered when this goes.
class ForeignWindowClass {
 public:
  explicit ForeignWindowClass(const wchar_t* name) : name_(name) {
    WNDCLASSEXW foreign{};
    foreign.cbSize = sizeof foreign;
    foreign.lpfnWndProc = DefWindowProcW;
    foreign.hInstance = GetModuleHandleW(nullptr);
    foreign.lpszClassName = name;
    registered_ = RegisterClassExW(&foreign) != 0;
  }
  ~ForeignWindowClass() {
    if (registered_) UnregisterClassW(name_, GetModuleHandleW(nullptr));
  }
  ForeignWindowClass(const ForeignWindowClass&) = delete;
  ForeignWindowClass& operator=(const ForeignWindowClass&) = delete;

  bool registered() const { return registered_; }

 private:
  const wchar_t* name_;
  bool registered_ = false;
};

}  // namespace norv::wintest
