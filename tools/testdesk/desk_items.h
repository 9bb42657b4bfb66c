#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norv::testdesk {

// One icon of the test desktop.
struct DeskItem {
  int32_t x = 0;
  int32_t y = 0;
  int32_t image = 0;
  std::wstring text;
};

// Items of a description file (format in testdesk_protocol.h); nullopt and a message naming the
// line when the text is not a valid description.
std::optional<std::vector<DeskItem>> ParseDescription(std::string_view utf8, std::wstring& error);

// The Japanese sample desktop: everyday icons, long names, a name past 39 bytes in code page 932,
// half-width katakana, and two icons with the same text.
std::vector<DeskItem> SampleDesktop();

// count distinct icons in a dense grid that stays inside a 1024 x 768 screen.
std::vector<DeskItem> GeneratedDesktop(int count);

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace norv::testdesk
