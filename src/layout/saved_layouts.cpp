#include "layout/saved_layouts.h"

#include <algorithm>

namespace norv {

void SortSavedLayouts(std::vector<std::u16string>& paths) {
  // char16_t compares as an unsigned code unit, which is the order wanted.
  std::sort(paths.begin(), paths.end());
}

FileNameParts SplitFileName(std::u16string_view fileName) {
  const size_t dot = fileName.find(u'.');
  if (dot == std::u16string_view::npos) return {std::u16string(fileName), {}};
  return {std::u16string(fileName.substr(0, dot)), std::u16string(fileName.substr(dot + 1))};
}

std::u16string LayoutName(std::u16string_view path) {
  const size_t separator = path.find_last_of(u":\\");
  const std::u16string_view fileName =
      separator == std::u16string_view::npos ? path : path.substr(separator + 1);
  return SplitFileName(fileName).name;
}

std::u16string LayoutDateText(std::u16string_view lastWriteText) {
  const size_t length = lastWriteText.starts_with(u"20") ? 10 : 8;
  return std::u16string(lastWriteText.substr(0, length));
}

}  // namespace norv
