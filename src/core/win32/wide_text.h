#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace norv {

// wchar_t is 16-bit on Windows, so the program's UTF-16 text passes to W functions as it is.
inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace norv
