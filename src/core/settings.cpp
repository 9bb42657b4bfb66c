#include "core/settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/app_state.h"
#include "core/cp932.h"
#include "core/file_system.h"
#include "core/number_text.h"
#include "core/profile_file.h"

namespace norv {

std::optional<int16_t> ParseOptionValue(std::u16string_view text) {
  const size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos)
    return text.empty() ? std::optional<int16_t>(0) : std::nullopt;
  const size_t last = text.find_last_not_of(u' ');
  std::string ascii;
  for (char16_t c : text.substr(first, last - first + 1)) {
    if (c > 0x7F) return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  if (!ascii.empty() && ascii.front() == '+') ascii.erase(0, 1);
  double value = 0;
  const auto [end, error] =
      std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  const double whole = std::floor(value);
  if (whole < std::numeric_limits<int16_t>::min() || whole > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int16_t>(whole);
}

std::u16string CutProfileValue(std::u16string_view value) {
  // Measured character by character, so a character without a cp932 form is kept as it is
  // rather than turned into the '?' a round trip through the code page would make of it.
  size_t bytes = 0;
  size_t kept = 0;
  for (; kept < value.size(); ++kept) {
    bytes += EncodeCp932(value.substr(kept, 1)).size();
    if (bytes > kProfileValueMaxBytes) break;
  }
  return std::u16string(value.substr(0, kept));
}

namespace {

struct StoredOption {
  const char16_t* key;
  int16_t Options::*value;
};

// In the order they are read and written.
constexpr std::array<StoredOption, 2> kStoredOptions{{
    {kRestoreLastExitKey, &Options::restoreLastExit},
    {kKeepPositionsAtExitKey, &Options::keepPositionsAtExit},
}};

}  // namespace

void LoadOptions(AppState& state, ProfileFile& profile) {
  const std::u16string file = state.appDirectory + kSettingsFileName;
  for (const StoredOption& option : kStoredOptions) {
    const std::u16string value = CutProfileValue(profile.Read(kSettingsSection, option.key, file));
    if (const std::optional<int16_t> number = ParseOptionValue(value))
      state.options.*option.value = *number;
  }
  const std::u16string follow =
      CutProfileValue(profile.Read(kSettingsSection, kFollowDisplaysKey, file));
  if (const std::optional<int16_t> number = ParseOptionValue(follow))
    state.followDisplays = *number;
}

bool SaveFollowDisplays(const AppState& state, ProfileFile& profile) {
  return profile.Write(kSettingsSection, kFollowDisplaysKey, NumberText(state.followDisplays),
                       state.appDirectory + kSettingsFileName);
}

bool SaveOptions(const AppState& state, ProfileFile& profile) {
  const std::u16string file = state.appDirectory + kSettingsFileName;
  bool written = true;
  for (const StoredOption& option : kStoredOptions) {
    written &=
        profile.Write(kSettingsSection, option.key, NumberText(state.options.*option.value), file);
  }
  return written;
}

bool FileExists(FileSystem& files, std::u16string_view path) {
  if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
  return files.CanOpenForReading(std::u16string(path));
}

std::u16string DirectoryOf(std::u16string_view path) {
  const size_t last = path.find_last_of(u":\\");
  if (last == std::u16string_view::npos) return {};
  std::u16string directory(path.substr(0, last + 1));
  if (directory.back() == u'\\') directory.pop_back();
  return directory;
}

std::vector<std::u16string> ListFilesWithExactAttributes(FileSystem& files,
                                                         const std::u16string& pattern,
                                                         std::initializer_list<uint32_t> classes) {
  uint32_t listed = 0;
  for (uint32_t attributes : classes) listed |= attributes;
  const std::u16string directory = DirectoryOf(pattern) + u"\\";
  std::vector<std::vector<std::u16string>> byClass(classes.size());
  for (const std::u16string& name : files.List(pattern, listed)) {
    std::u16string path = directory + name;
    const std::optional<uint32_t> found = files.Attributes(path);
    if (!found) break;
    const auto match = std::find(classes.begin(), classes.end(), *found);
    if (match != classes.end()) {
      byClass[static_cast<size_t>(match - classes.begin())].push_back(std::move(path));
    }
  }
  std::vector<std::u16string> paths;
  for (std::vector<std::u16string>& found : byClass) {
    paths.insert(paths.end(), std::make_move_iterator(found.begin()),
                 std::make_move_iterator(found.end()));
  }
  return paths;
}

std::vector<std::u16string> CollectSavedLayouts(FileSystem& files,
                                                const std::u16string& appDirectory) {
  return ListFilesWithExactAttributes(files, appDirectory + kLayoutPattern,
                                      {kAttrNone, kAttrArchive, kAttrReadOnly});
}

void RecountSavedLayouts(AppState& state, FileSystem& files) {
  // The count is 16-bit and wraps with more layouts than that holds.
  state.savedLayoutCount =
      static_cast<int16_t>(CollectSavedLayouts(files, state.appDirectory).size());
}

}  // namespace norv
