#include "desk_items.h"

#include <windows.h>

#include <charconv>
#include <cstdio>

namespace norv::testdesk {
namespace {

bool ParseNumber(std::string_view& rest, int32_t& value) {
  const size_t end = rest.find(' ');
  if (end == std::string_view::npos) return false;
  const std::string_view field = rest.substr(0, end);
  const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || ptr != field.data() + field.size() || field.empty()) return false;
  rest.remove_prefix(end + 1);
  return true;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

std::optional<std::vector<DeskItem>> ParseDescription(std::string_view utf8, std::wstring& error) {
  std::vector<DeskItem> items;
  int lineNumber = 0;
  while (!utf8.empty()) {
    const size_t end = utf8.find('\n');
    std::string_view line = utf8.substr(0, end);
    utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    DeskItem item;
    if (!ParseNumber(line, item.x) || !ParseNumber(line, item.y) ||
        !ParseNumber(line, item.image)) {
      error = L"line " + std::to_wstring(lineNumber) + L": expected \"X Y IMAGE TEXT\"";
      return std::nullopt;
    }
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(),
                            static_cast<int>(line.size()), nullptr, 0) == 0 &&
        !line.empty()) {
      error = L"line " + std::to_wstring(lineNumber) + L": text is not UTF-8";
      return std::nullopt;
    }
    item.text = Utf8ToWide(line);
    items.push_back(std::move(item));
  }
  return items;
}

std::vector<DeskItem> SampleDesktop() {
  // Columns of 75 pixels from the left edge, as a freshly arranged desktop looks.
  return {
      {20, 2, 0, L"ごみ箱"},
      {20, 77, 1, L"マイ コンピュータ"},
      {20, 152, 2, L"マイ ドキュメント"},
      {20, 227, 3, L"ネットワーク"},
      {20, 302, 4, L"ｲﾝﾀｰﾈｯﾄ ｴｸｽﾌﾟﾛｰﾗ"},
      {20, 377, 5, L"年賀状2024.txt"},
      {95, 2, 1, L"会議資料（第三四半期の売上報告と来年度の予算計画）.docx"},
      {95, 77, 2, L"メモ"},
      {95, 152, 2, L"メモ"},
      {95, 227, 3, L"写真"},
      {95, 302, 4, L"Readme.txt"},
      {95, 377, 5, L"売上①～③ 集計表.xls"},
      {170, 2, 0, L"ショートカット - 電卓"},
  };
}

std::vector<DeskItem> GeneratedDesktop(int count) {
  std::vector<DeskItem> items;
  items.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[32];
    swprintf(text, 32, L"アイコン%04d", i + 1);
    items.push_back({10 + (i % 40) * 24, 10 + (i / 40 % 25) * 28, i % 6, text});
  }
  return items;
}

}  // namespace norv::testdesk
