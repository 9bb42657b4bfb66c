#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace norv {

// The longest path the file functions take without the long-path prefix (MAX_PATH less the
// terminating NUL). It also keeps a file name within the 255 characters of one component.
inline constexpr size_t kMaxPathLength = 259;

// File attribute bits as the platform reports them.
enum FileAttribute : uint32_t {
  kAttrNone = 0,
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
};

// The program's view of the file system. Paths are UTF-16 with "\" separators, as the program
// builds them from appDirectory. The host tests use an in-memory implementation that stores an
// attribute set with each file; the Windows build uses the real attributes.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when the path names a file that can be opened for reading (a directory is false).
  virtual bool CanOpenForReading(const std::u16string& path) = 0;
  // Opens for reading and writing (a read-only file for reading only), creating an empty file
  // where none exists, and returns at most maxBytes from its start together with the file's whole
  // size; nullopt when it cannot be opened.
  struct Prefix {
    std::string bytes;
    uint64_t fileSize = 0;
  };
  virtual std::optional<Prefix> ReadOrCreate(const std::u16string& path, size_t maxBytes) = 0;
  // Writes a temporary file beside path, then puts it in path's place in one step. On any failure
  // path keeps its old content (or stays absent) and false is returned.
  virtual bool ReplaceAtomically(const std::u16string& path, std::string_view bytes) = 0;
  virtual bool Delete(const std::u16string& path) = 0;
  // Makes the folder where none is; true when it exists afterwards (its parent must exist).
  virtual bool CreateFolder(const std::u16string& path) = 0;
  // Names (without directory), in listing order, of the entries matching pattern ("*" and "?" in
  // its last component, case-insensitive): every file, read-only and archive ones included, and
  // hidden, system or directory entries only when `attributes` names that class, as the platform's
  // listing does. The first error ends the listing, keeping what was found.
  virtual std::vector<std::u16string> List(const std::u16string& pattern, uint32_t attributes) = 0;
  virtual std::optional<uint32_t> Attributes(const std::u16string& path) = 0;
  // The last-modification date and time as the user's locale writes it: short date, a space,
  // then the time (on a Japanese system "2026/12/07 10:52:31").
  virtual std::optional<std::u16string> LastWriteText(const std::u16string& path) = 0;
  // Seconds from the last modification until now (negative for a time ahead of the clock).
  virtual std::optional<int64_t> SecondsSinceLastWrite(const std::u16string& path) = 0;
};

}  // namespace norv
