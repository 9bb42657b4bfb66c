#include "displays/display_arrangements.h"

#include <algorithm>
#include <set>

#include "core/file_system.h"
#include "core/icon_table.h"

namespace norv {
namespace {

// Far more than any index of real configurations; a larger file is read only this far.
constexpr size_t kMaxIndexBytes = 1024 * 1024;

std::u16string FreeFileName(const std::vector<DisplayEntry>& entries) {
  std::set<std::u16string> taken;
  for (const DisplayEntry& entry : entries) taken.insert(entry.file);
  for (uint32_t n = 1;; ++n) {
    const std::string digits = std::to_string(n);
    std::u16string name(digits.begin(), digits.end());
    name += u".ppx";
    if (!taken.count(name)) return name;
  }
}

}  // namespace

std::u16string DisplayArrangements::PathOf(std::u16string_view file) const {
  return Folder() + u"\\" + std::u16string(file);
}

std::vector<DisplayEntry> DisplayArrangements::Entries() {
  const std::u16string path = Folder() + kDisplayIndexName;
  // Reading would create a missing file: only an existing index is opened.
  if (!files_.CanOpenForReading(path)) return {};
  const std::optional<FileSystem::Prefix> index = files_.ReadOrCreate(path, kMaxIndexBytes);
  return index ? DecodeDisplayIndex(index->bytes) : std::vector<DisplayEntry>{};
}

std::optional<DisplayEntry> DisplayArrangements::Find(const std::u16string& key) {
  for (DisplayEntry& entry : Entries()) {
    if (entry.key == key) return std::move(entry);
  }
  return std::nullopt;
}

std::vector<LayoutRecord> DisplayArrangements::Arrangement(const DisplayEntry& entry) {
  const std::u16string path = PathOf(entry.file);
  if (!files_.CanOpenForReading(path)) return {};
  return ReadLayoutFile(files_, path);
}

bool DisplayArrangements::WriteIndex(const std::vector<DisplayEntry>& entries) {
  return files_.ReplaceAtomically(Folder() + kDisplayIndexName, EncodeDisplayIndex(entries));
}

bool DisplayArrangements::Record(const std::u16string& key, const std::u16string& label,
                                 const std::u16string& now, const IconTable& table) {
  std::string bytes = EncodeLayout(table);
  std::vector<DisplayEntry> entries = Entries();
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const DisplayEntry& entry) { return entry.key == key; });
  const auto written = written_.find(key);
  if (found == entries.begin() && found != entries.end() && written != written_.end() &&
      written->second == bytes && found->desktop == table.Desktop()) {
    return true;
  }
  if (!files_.CreateFolder(Folder())) return false;

  DisplayEntry entry{key, label, now, {}, table.Desktop()};
  if (found != entries.end()) {
    entry.file = found->file;
    entries.erase(found);
  } else {
    entry.file = FreeFileName(entries);
  }
  if (!files_.ReplaceAtomically(PathOf(entry.file), bytes)) return false;
  written_[key] = std::move(bytes);
  entries.insert(entries.begin(), std::move(entry));
  return WriteIndex(entries);
}

bool DisplayArrangements::SaveUndo(const IconTable& table) {
  return files_.CreateFolder(Folder()) &&
         files_.ReplaceAtomically(Folder() + kUndoArrangementName, EncodeLayout(table));
}

std::vector<LayoutRecord> DisplayArrangements::Undo() {
  const std::u16string path = Folder() + kUndoArrangementName;
  if (!files_.CanOpenForReading(path)) return {};
  return ReadLayoutFile(files_, path);
}

void DisplayArrangements::DropUndo() { files_.Delete(Folder() + kUndoArrangementName); }

}  // namespace norv
