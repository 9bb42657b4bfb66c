#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace norv {

// The private-profile rules on the text of an INI file, for platforms without the profile
// functions: section and key names compared without regard to ASCII case, values trimmed of
// surrounding spaces and one pair of quotes, writes that create the section and key as needed
// and keep every other line.
class IniDocument {
 public:
  explicit IniDocument(std::u16string text = {}) : text_(std::move(text)) {}
  std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;
  void Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  const std::u16string& Text() const { return text_; }

 private:
  std::u16string text_;
};

}  // namespace norv
