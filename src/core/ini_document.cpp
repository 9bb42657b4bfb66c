#include "core/ini_document.h"

#include <vector>

namespace norv {
namespace {

std::u16string_view Trim(std::u16string_view text) {
  const size_t first = text.find_first_not_of(u" \t\r");
  if (first == std::u16string_view::npos) return {};
  const size_t last = text.find_last_not_of(u" \t\r");
  return text.substr(first, last - first + 1);
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::vector<std::u16string_view> Lines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find(u'\n');
    lines.push_back(text.substr(0, end));
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The section name of a "[name]" line, if it is one.
std::optional<std::u16string_view> SectionOf(std::u16string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != u'[') return std::nullopt;
  const size_t close = line.find(u']');
  if (close == std::u16string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::u16string_view key;
  std::u16string_view value;
};

std::optional<KeyLine> KeyOf(std::u16string_view line) {
  const size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return std::nullopt;
  return KeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// The profile functions drop one pair of matching quotes around a value.
std::u16string_view Unquoted(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::optional<std::u16string> IniDocument::Get(std::u16string_view section,
                                               std::u16string_view key) const {
  bool inSection = false;
  for (std::u16string_view line : Lines(text_)) {
    if (const auto name = SectionOf(line)) {
      inSection = SameName(*name, section);
    } else if (inSection) {
      const auto entry = KeyOf(line);
      if (entry && SameName(entry->key, key)) return std::u16string(Unquoted(entry->value));
    }
  }
  return std::nullopt;
}

void IniDocument::Set(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value) {
  std::vector<std::u16string> lines;
  for (std::u16string_view line : Lines(text_)) {
    if (line.ends_with(u'\r')) line.remove_suffix(1);
    lines.emplace_back(line);
  }
  std::optional<size_t> sectionLine;
  std::optional<size_t> lastInSection;
  std::optional<size_t> keyLine;
  for (size_t i = 0; i < lines.size() && !keyLine; ++i) {
    if (const auto name = SectionOf(lines[i])) {
      if (sectionLine) break;
      if (SameName(*name, section)) sectionLine = lastInSection = i;
    } else if (sectionLine && !Trim(lines[i]).empty()) {
      lastInSection = i;
      const auto entry = KeyOf(lines[i]);
      if (entry && SameName(entry->key, key)) keyLine = i;
    }
  }
  const std::u16string entry = std::u16string(key) + u"=" + std::u16string(value);
  if (keyLine) {
    lines[*keyLine] = entry;
  } else if (lastInSection) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastInSection + 1), entry);
  } else {
    lines.push_back(u"[" + std::u16string(section) + u"]");
    lines.push_back(entry);
  }
  text_.clear();
  for (const std::u16string& line : lines) text_ += line + u"\r\n";
}

}  // namespace norv
