// Windows build: the system's own code page 932 conversion, whatever the user's ANSI code page.
#include <windows.h>

#include "core/cp932.h"

namespace norv {

namespace {
constexpr UINT kShiftJis = 932;
}

std::string EncodeCp932(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(kShiftJis, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(kShiftJis, 0, wide, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string DecodeCp932(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(kShiftJis, 0, bytes.data(), length, nullptr, 0);
  std::u16string out(static_cast<size_t>(size > 0 ? size : 0), u'\0');
  if (size > 0) {
    MultiByteToWideChar(kShiftJis, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(out.data()),
                        size);
  }
  return out;
}

}  // namespace norv
