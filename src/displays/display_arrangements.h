#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "displays/display_index.h"
#include "layout/layout_file.h"

namespace norv {

class FileSystem;
struct IconTable;

// The folder beside Norv.exe that keeps one arrangement per display configuration, in the layout
// file's record format, and the index that names them. The restore dialog lists only the program
// folder itself, so these never show there.
inline constexpr char16_t kDisplaysFolderName[] = u"\\Displays";
inline constexpr char16_t kDisplayIndexName[] = u"\\index.txt";
// Where the icons stood just before the last automatic restore.
inline constexpr char16_t kUndoArrangementName[] = u"\\undo.ppx";

// The files of the Displays folder. Each operation reads and writes them whole; a damaged index
// line or arrangement file is skipped, nothing else is lost.
class DisplayArrangements {
 public:
  // `appDirectory` is read at each use: the program learns its folder after this is made.
  DisplayArrangements(FileSystem& files, const std::u16string& appDirectory)
      : files_(files), appDirectory_(appDirectory) {}

  // Most recently used first.
  std::vector<DisplayEntry> Entries();
  std::optional<DisplayEntry> Find(const std::u16string& key);
  // The arrangement recorded for the entry.
  std::vector<LayoutRecord> Arrangement(const DisplayEntry& entry);

  // Keeps the table as the arrangement of the configuration `key` and makes it the most recently
  // used one, dated `now`. Writes nothing when this program wrote the same arrangement for the
  // same configuration last and it is the most recent already. False when a write failed.
  bool Record(const std::u16string& key, const std::u16string& label, const std::u16string& now,
              const IconTable& table);

  bool SaveUndo(const IconTable& table);
  // The arrangement before the last automatic restore; empty when there is none.
  std::vector<LayoutRecord> Undo();
  void DropUndo();

 private:
  std::u16string Folder() const { return appDirectory_ + kDisplaysFolderName; }
  std::u16string PathOf(std::u16string_view file) const;
  bool WriteIndex(const std::vector<DisplayEntry>& entries);

  FileSystem& files_;
  const std::u16string& appDirectory_;
  // What this program last wrote for each key, so that an unchanged desktop is not written again.
  std::map<std::u16string, std::string> written_;
};

}  // namespace norv
