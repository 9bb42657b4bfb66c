#include "commands/win32/console_output.h"

#include <windows.h>

#include <algorithm>

namespace norv {
namespace {

constexpr UINT kShiftJis = 932;

// WriteFile and WriteConsoleW may take less than asked; both are called until all is written.
template <typename Unit, typename WriteSome>
void WriteAll(const Unit* data, size_t count, WriteSome writeSome) {
  while (count > 0) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<size_t>(count, 1 << 20));
    if (!writeSome(data, chunk, &written) || written == 0) return;
    data += written;
    count -= written;
  }
}

}  // namespace

std::string OutputCp932(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, "?",
                        nullptr);
  }
  return bytes;
}

ConsoleOutput::ConsoleOutput() {
  // Fails when there is no parent console or when redirected handles were inherited and a console
  // is not needed; either way the standard handles below are the ones to use.
  AttachConsole(ATTACH_PARENT_PROCESS);
}

void ConsoleOutput::Write(OutputStream stream, std::u16string_view line) {
  const HANDLE handle =
      GetStdHandle(stream == OutputStream::kError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (!handle || handle == INVALID_HANDLE_VALUE) return;
  std::u16string text(line);
  text += u"\r\n";
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteAll(reinterpret_cast<const wchar_t*>(text.data()), text.size(),
             [handle](const wchar_t* data, DWORD count, DWORD* written) {
               return WriteConsoleW(handle, data, count, written, nullptr) != 0;
             });
    return;
  }
  const std::string bytes = OutputCp932(text);
  WriteAll(bytes.data(), bytes.size(), [handle](const char* data, DWORD count, DWORD* written) {
    return WriteFile(handle, data, count, written, nullptr) != 0;
  });
}

}  // namespace norv
