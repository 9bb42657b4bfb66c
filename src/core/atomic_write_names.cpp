#include "core/atomic_write_names.h"

#include <algorithm>
#include <charconv>

#include "core/file_system.h"
#include "core/settings.h"

namespace norv {
namespace {

constexpr std::u16string_view kMark = u".~";
// A write takes well under a second; a temporary file this old is no write under way.
constexpr int64_t kLeftoverSeconds = 5 * 60;
constexpr std::u16string_view kEnd = u".tmp";

std::u16string Hex(uint32_t value) {
  char digits[8];
  const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
  return std::u16string(digits, end);
}

// As Hex writes them: one to eight digits, no leading zero.
bool IsHex(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 8 || (digits.size() > 1 && digits[0] == u'0')) return false;
  return std::all_of(digits.begin(), digits.end(), [](char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
  });
}

bool IsOwnFile(std::u16string_view name) {
  // The program's file names, without the separator they are appended with.
  const std::u16string_view snapshot = std::u16string_view(kStartupSnapshotName).substr(1);
  const std::u16string_view settings = std::u16string_view(kSettingsFileName).substr(1);
  return name.ends_with(kLayoutExtension) || name == snapshot || name == settings;
}

}  // namespace

std::u16string AtomicWriteTemporaryPath(std::u16string_view target, uint32_t processId,
                                        uint32_t counter) {
  std::u16string path(target);
  path += kMark;
  path += Hex(processId);
  path += u'_';
  path += Hex(counter);
  path += kEnd;
  return path;
}

bool IsLeftoverOfAtomicWrite(std::u16string_view fileName,
                             std::initializer_list<std::u16string_view> alsoOwn) {
  if (!fileName.ends_with(kEnd)) return false;
  fileName.remove_suffix(kEnd.size());
  const size_t mark = fileName.rfind(kMark);
  if (mark == std::u16string_view::npos) return false;
  const std::u16string_view numbers = fileName.substr(mark + kMark.size());
  const size_t separator = numbers.find(u'_');
  return separator != std::u16string_view::npos && IsHex(numbers.substr(0, separator)) &&
         IsHex(numbers.substr(separator + 1)) &&
         (IsOwnFile(fileName.substr(0, mark)) ||
          std::find(alsoOwn.begin(), alsoOwn.end(), fileName.substr(0, mark)) != alsoOwn.end());
}

void RemoveLeftoverTemporaries(FileSystem& files, const std::u16string& folder,
                               std::initializer_list<std::u16string_view> alsoOwn) {
  for (const std::u16string& name : files.List(folder + u"\\*" + std::u16string(kEnd), 0)) {
    if (!IsLeftoverOfAtomicWrite(name, alsoOwn)) continue;
    const std::u16string path = folder + u"\\" + name;
    const std::optional<int64_t> age = files.SecondsSinceLastWrite(path);
    if (age && (*age >= kLeftoverSeconds || *age <= -kLeftoverSeconds)) files.Delete(path);
  }
}

}  // namespace norv
