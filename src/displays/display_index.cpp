#include "displays/display_index.h"

#include <charconv>
#include <optional>
#include <set>

#include "core/cp932.h"

namespace norv {
namespace {

constexpr size_t kFieldCount = 6;
constexpr std::u16string_view kArrangementExtension = u".ppx";

std::u16string OneField(std::u16string_view text) {
  std::u16string field(text);
  for (char16_t& c : field) {
    if (c < 0x20) c = u'?';
  }
  return field;
}

std::optional<int32_t> Number(std::u16string_view text) {
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  int32_t value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error != std::errc() || end != ascii.data() + ascii.size() || ascii.empty())
    return std::nullopt;
  return value;
}

std::vector<std::u16string_view> Split(std::u16string_view line) {
  std::vector<std::u16string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find(u'\t', start)) != std::u16string_view::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

}  // namespace

bool IsArrangementFileName(std::u16string_view file) {
  if (file.size() <= kArrangementExtension.size() || file.size() > 16 ||
      !file.ends_with(kArrangementExtension)) {
    return false;
  }
  const std::u16string_view stem = file.substr(0, file.size() - kArrangementExtension.size());
  for (char16_t c : stem) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

std::string EncodeDisplayIndex(const std::vector<DisplayEntry>& entries) {
  std::u16string text;
  for (const DisplayEntry& entry : entries) {
    for (const std::u16string& field : {OneField(entry.key), OneField(entry.label),
                                        OneField(entry.lastUsed), OneField(entry.file)}) {
      text += field;
      text += u'\t';
    }
    const std::string right = std::to_string(entry.desktop.right);
    const std::string bottom = std::to_string(entry.desktop.bottom);
    text.append(right.begin(), right.end());
    text += u'\t';
    text.append(bottom.begin(), bottom.end());
    text += u"\r\n";
  }
  return EncodeCp932(text);
}

std::vector<DisplayEntry> DecodeDisplayIndex(std::string_view bytes) {
  const std::u16string text = DecodeCp932(bytes);
  std::vector<DisplayEntry> entries;
  std::set<std::u16string> keys;
  std::set<std::u16string> files;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string_view line(text.data() + start, end - start);
    start = end + 1;
    if (line.ends_with(u'\r')) line.remove_suffix(1);
    const std::vector<std::u16string_view> fields = Split(line);
    if (fields.size() != kFieldCount || fields[0].empty()) continue;
    const std::optional<int32_t> right = Number(fields[4]);
    const std::optional<int32_t> bottom = Number(fields[5]);
    if (!right || !bottom || !IsArrangementFileName(fields[3])) continue;
    DisplayEntry entry{std::u16string(fields[0]), std::u16string(fields[1]),
                       std::u16string(fields[2]), std::u16string(fields[3]),
                       DesktopRect{*right, *bottom}};
    if (!keys.insert(entry.key).second || !files.insert(entry.file).second) continue;
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace norv
