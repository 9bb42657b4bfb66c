#include "layout/saved_layouts.h"

#include <algorithm>

#include "core/file_system.h"
#include "core/settings.h"

namespace norv {

std::vector<std::u16string> CollectSavedLayouts(FileSystem& files,
                                                const std::u16string& appDirectory) {
  const std::u16string pattern = appDirectory + kLayoutPattern;
  std::vector<std::u16string> paths;
  for (uint32_t attributes : {kAttrNone, kAttrArchive, kAttrReadOnly}) {
    std::vector<std::u16string> found = ListFilesWithExactAttributes(files, pattern, attributes);
    paths.insert(paths.end(), std::make_move_iterator(found.begin()),
                 std::make_move_iterator(found.end()));
  }
  return paths;
}

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
