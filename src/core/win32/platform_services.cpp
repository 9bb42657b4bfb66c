#include "core/win32/platform_services.h"

#include <algorithm>

#include "core/win32/wide_text.h"

namespace norv {
namespace {
// What an ANSI profile read of 256 bytes could hold; longer values arrive cut.
constexpr DWORD kProfileBufferChars = 256;
}  // namespace

std::u16string Win32ProfileFile::Read(const std::u16string& section, const std::u16string& key,
                                      const std::u16string& file) {
  wchar_t value[kProfileBufferChars] = {};
  const DWORD length = GetPrivateProfileStringW(Wide(section), Wide(key), L"", value,
                                                kProfileBufferChars, Wide(file));
  return FromWide(std::wstring_view(value, std::min<DWORD>(length, kProfileBufferChars - 1)));
}

bool Win32ProfileFile::Write(const std::u16string& section, const std::u16string& key,
                             const std::u16string& value, const std::u16string& file) {
  return WritePrivateProfileStringW(Wide(section), Wide(key), Wide(value), Wide(file)) != 0;
}

MessageAnswer MessageBoxMessages::Show(const std::u16string& text, MessageStyle style,
                                       const std::u16string& title) {
  switch (MessageBoxW(owner_, Wide(text), Wide(title), static_cast<UINT>(style))) {
    case IDYES:
      return MessageAnswer::kYes;
    case IDNO:
      return MessageAnswer::kNo;
    default:
      return MessageAnswer::kOk;
  }
}

void ExitProcessEnd::EndNow() { ExitProcess(0); }

void SleepPause::Wait(int milliseconds) {
  Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

}  // namespace norv
