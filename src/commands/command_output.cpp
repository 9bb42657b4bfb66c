#include "commands/command_output.h"

#include <algorithm>

#include "core/number_text.h"

namespace norv {

std::u16string PrintableText(std::u16string_view text) {
  std::u16string printable(text);
  std::replace_if(
      printable.begin(), printable.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; }, u'?');
  return printable;
}

std::u16string OneLine(std::u16string_view text) {
  std::u16string line;
  for (char16_t c : text) {
    if (c == u'\r') continue;
    line += c == u'\n' ? u' ' : c;
  }
  return line;
}

std::u16string DecimalText(int64_t value) {
  std::u16string text = NumberText(value);
  if (text.starts_with(u' ')) text.erase(0, 1);
  return text;
}

std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
  std::u16string text;
  for (std::u16string_view part : parts) text += part;
  return text;
}

}  // namespace norv
