#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norv {

class FileSystem;
class ProfileFile;
struct AppState;

// File names of the program, each appended to appDirectory unchanged.
inline constexpr char16_t kSettingsFileName[] = u"\\Norv.ini";
inline constexpr char16_t kStartupSnapshotName[] = u"\\Norv.e01";
inline constexpr char16_t kLayoutPattern[] = u"\\*.ppx";
inline constexpr char16_t kLayoutExtension[] = u".ppx";
inline constexpr char16_t kProgramFileName[] = u"\\Norv.exe";
inline constexpr char16_t kHelpFileName[] = u"\\Norvane.html";

inline constexpr char16_t kSettingsSection[] = u"Section";
inline constexpr char16_t kRestoreLastExitKey[] = u"ReCover_0";
inline constexpr char16_t kKeepPositionsAtExitKey[] = u"ReCover_1";
inline constexpr char16_t kFollowDisplaysKey[] = u"FollowDisplays";

// The value text of one option as stored: empty reads as 0, a number is rounded down, anything
// else (not a number, or outside 16 bits) leaves the option as it was.
std::optional<int16_t> ParseOptionValue(std::u16string_view text);

// Reads both options from the settings file into state.options by the rule above, and the
// switch of following the displays into state.followDisplays.
void LoadOptions(AppState& state, ProfileFile& profile);
// Writes both options with the list's number text (" 1"); false when a write failed. The switch
// is not among them: only its command writes it.
bool SaveOptions(const AppState& state, ProfileFile& profile);
bool SaveFollowDisplays(const AppState& state, ProfileFile& profile);

// Profile values are cut to what a 256-byte ANSI buffer holds.
inline constexpr size_t kProfileValueMaxBytes = 255;
std::u16string CutProfileValue(std::u16string_view value);

bool FileExists(FileSystem& files, std::u16string_view path);
// The path up to its last ":" or "\" (inclusive), then without one trailing "\".
std::u16string DirectoryOf(std::u16string_view path);

// Full paths of the files matching pattern whose attribute set equals one of `classes` exactly:
// those of the first class in listing order, then those of the next, and so on. The folder is
// listed once, with the entries any class asks for, and each file's attributes are read once; the
// first error ends the listing quietly, keeping what was found.
std::vector<std::u16string> ListFilesWithExactAttributes(FileSystem& files,
                                                         const std::u16string& pattern,
                                                         std::initializer_list<uint32_t> classes);
// Full paths of the saved layouts in appDirectory whose attributes are exactly none, archive only
// or read-only only, in that order of classes: the files the main window counts and the restore
// dialog lists. A layout that is both read-only and archive is not among them.
std::vector<std::u16string> CollectSavedLayouts(FileSystem& files,
                                                const std::u16string& appDirectory);
// Sets savedLayoutCount to the number of CollectSavedLayouts.
void RecountSavedLayouts(AppState& state, FileSystem& files);

}  // namespace norv
