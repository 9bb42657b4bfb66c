#include "layout/layout_name_check.h"

#include <algorithm>
#include <array>

#include "core/atomic_write_names.h"
#include "core/file_system.h"
#include "layout/layout_file.h"

namespace norv {
namespace {

bool IsForbidden(char16_t c) {
  return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
}

char16_t ToUpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; }

// Windows opens a device instead of a file for these base names, whatever extension follows and
// with trailing spaces before the extension ignored.
bool IsDeviceName(std::u16string_view name) {
  std::u16string_view base = name.substr(0, name.find(u'.'));
  while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
  std::u16string upper(base);
  std::transform(upper.begin(), upper.end(), upper.begin(), ToUpperAscii);
  static constexpr std::array<std::u16string_view, 6> kPlain{u"CON", u"PRN",    u"AUX",
                                                             u"NUL", u"CONIN$", u"CONOUT$"};
  if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) return true;
  if (upper.size() != 4) return false;
  const std::u16string_view stem = std::u16string_view(upper).substr(0, 3);
  const char16_t digit = upper[3];
  const bool numbered =
      (digit >= u'0' && digit <= u'9') || digit == u'¹' || digit == u'²' || digit == u'³';
  return numbered && (stem == u"COM" || stem == u"LPT");
}

}  // namespace

std::optional<std::u16string_view> RefuseLayoutName(std::u16string_view appDirectory,
                                                    std::u16string_view name, LayoutNameUse use) {
  if (std::any_of(name.begin(), name.end(), IsForbidden)) return kForbiddenCharacterMessage;
  if (IsDeviceName(name)) return kReservedNameMessage;
  // Windows does not keep a trailing space or dot on a file name; a name is held to the same
  // rule so that it reads the same everywhere as typed. Spaces alone stay a usable name.
  const bool onlySpaces = name.find_first_not_of(u' ') == std::u16string_view::npos;
  if (!name.empty() && !onlySpaces && (name.back() == u' ' || name.back() == u'.')) {
    return kTrailingCharacterMessage;
  }
  // The save writes a temporary file beside the layout first, whose path is longer still.
  const size_t headroom = use == LayoutNameUse::kWrite ? kAtomicWriteSuffixMaxLength : 0;
  if (LayoutPath(appDirectory, name).size() + headroom > kMaxPathLength) {
    return kNameTooLongMessage;
  }
  return std::nullopt;
}

}  // namespace norv
