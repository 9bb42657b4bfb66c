#pragma once

#include <optional>
#include <string>

namespace norv::wintest {

// Makes `viewer` the program that opens ".html" documents (or leaves none) for as long as it
// lives, then puts the prefix's own association back.
class HtmlAssociation {
 public:
  static HtmlAssociation Viewer(const std::wstring& viewer);
  static HtmlAssociation None();
  ~HtmlAssociation();
  HtmlAssociation(HtmlAssociation&& other) noexcept;
  HtmlAssociation(const HtmlAssociation&) = delete;
  HtmlAssociation& operator=(const HtmlAssociation&) = delete;
  HtmlAssociation& operator=(HtmlAssociation&&) = delete;

 private:
  HtmlAssociation();
  bool restore_ = true;
  bool keyExisted_ = false;
  std::optional<std::wstring> previous_;
};

}  // namespace norv::wintest
