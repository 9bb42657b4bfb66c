#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace norv {

// Ascending by UTF-16 code unit, case-sensitive: "C" before "a", a space before ".".
void SortSavedLayouts(std::vector<std::u16string>& paths);

struct FileNameParts {
  std::u16string name;
  std::u16string extension;
};
// Splits at the first "." from the left; without one the whole text is the name.
FileNameParts SplitFileName(std::u16string_view fileName);

// What the list shows for a layout: its file name, without directory, up to the first ".".
std::u16string LayoutName(std::u16string_view path);

// A date from the locale's date and time text: 10 characters when it starts with a four-digit
// year ("20..."), else 8.
std::u16string LayoutDateText(std::u16string_view lastWriteText);

}  // namespace norv
