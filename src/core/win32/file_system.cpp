#include "core/win32/file_system.h"

#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <cwchar>

#include "core/atomic_write_names.h"
#include "core/win32/scoped_handles.h"
#include "core/win32/wide_text.h"

namespace norv {
namespace {

constexpr uint32_t kReportedAttributes =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;
constexpr uint32_t kListedOnRequest = kAttrHidden | kAttrSystem | kAttrDirectory;
// ReadFile and WriteFile take 32-bit sizes; larger transfers go in pieces of this size.
constexpr DWORD kChunkBytes = 1u << 20;

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size(), kChunkBytes));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A fresh file beside the target. Its name ends in ".tmp", so no listing of the program's own
// file patterns picks up one that a crash left behind; the next start removes it.
std::u16string CreateTemporaryBeside(const std::u16string& path, HANDLE& file) {
  static std::atomic<uint32_t> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::u16string temporary = AtomicWriteTemporaryPath(path, GetCurrentProcessId(), counter++);
    file = CreateFileW(Wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return temporary;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  file = INVALID_HANDLE_VALUE;
  return {};
}

bool IsDotEntry(const wchar_t* name) { return !wcscmp(name, L".") || !wcscmp(name, L".."); }

bool IsReadOnlyOrFolder(const std::u16string& path) {
  const DWORD existing = GetFileAttributesW(Wide(path));
  return existing != INVALID_FILE_ATTRIBUTES &&
         (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace

uint32_t ProgramAttributes(unsigned long platformAttributes) {
  return static_cast<uint32_t>(platformAttributes) & kReportedAttributes;
}

bool Win32FileSystem::CanOpenForReading(const std::u16string& path) {
  // A directory cannot be opened this way (that needs backup semantics), so it answers false.
  const ScopedHandle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid();
}

std::optional<FileSystem::Prefix> Win32FileSystem::ReadOrCreate(const std::u16string& path,
                                                                size_t maxBytes) {
  const DWORD existing = GetFileAttributesW(Wide(path));
  const bool found = existing != INVALID_FILE_ATTRIBUTES;
  if (found && (existing & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  // A read-only layout is listed among the saved ones, so it must read; it is never written.
  const DWORD access =
      found && (existing & FILE_ATTRIBUTE_READONLY) ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  HANDLE opened = CreateFileW(Wide(path), access, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  // In a folder its user may read but not change (the program unzipped under Program Files) the
  // files must still read: start-up and the restore dialog depend on it.
  if (opened == INVALID_HANDLE_VALUE && found && GetLastError() == ERROR_ACCESS_DENIED) {
    opened = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  const ScopedHandle file(opened);
  LARGE_INTEGER size{};
  if (!file.valid() || !GetFileSizeEx(file.get(), &size)) return std::nullopt;
  Prefix prefix;
  prefix.fileSize = static_cast<uint64_t>(size.QuadPart);
  // Only the part asked for is read, however large the file is.
  prefix.bytes.resize(static_cast<size_t>(std::min<uint64_t>(maxBytes, prefix.fileSize)));
  size_t filled = 0;
  while (filled < prefix.bytes.size()) {
    const DWORD piece =
        static_cast<DWORD>(std::min<size_t>(prefix.bytes.size() - filled, kChunkBytes));
    DWORD read = 0;
    if (!ReadFile(file.get(), prefix.bytes.data() + filled, piece, &read, nullptr))
      return std::nullopt;
    if (read == 0) break;  // the file shrank meanwhile
    filled += read;
  }
  prefix.bytes.resize(filled);
  return prefix;
}

bool Win32FileSystem::ReplaceAtomically(const std::u16string& path, std::string_view bytes) {
  // A read-only target is the user's wish to keep it; a directory is never replaced.
  if (IsReadOnlyOrFolder(path)) return false;
  HANDLE raw = INVALID_HANDLE_VALUE;
  const std::u16string temporary = CreateTemporaryBeside(path, raw);
  if (temporary.empty()) return false;
  bool written;
  {
    const ScopedHandle file(raw);
    written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  }
  if (written && MoveFileExW(Wide(temporary), Wide(path),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(Wide(temporary));
  return false;
}

bool Win32FileSystem::Delete(const std::u16string& path) {
  // Judged by the result: Wine reports success for a file its folder does not let go of.
  return DeleteFileW(Wide(path)) != 0 && GetFileAttributesW(Wide(path)) == INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::CreateFolder(const std::u16string& path) {
  if (CreateDirectoryW(Wide(path), nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(Wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::u16string> Win32FileSystem::List(const std::u16string& pattern,
                                                  uint32_t attributes) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW entry{};
  const ScopedFindHandle search(
      FindFirstFileExW(Wide(pattern), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  if (!search.valid()) return names;
  const uint32_t askedFor = attributes & kListedOnRequest;
  // The last component, or the whole pattern when it names no folder (npos + 1 is 0).
  const std::u16string namePattern = pattern.substr(pattern.find_last_of(u":\\") + 1);
  do {
    const uint32_t special = entry.dwFileAttributes & kListedOnRequest;
    // The search also matches a name by its short 8.3 form, so "*.ppx" would find "a.ppxtmp".
    if ((special & ~askedFor) == 0 && !IsDotEntry(entry.cFileName) &&
        PathMatchSpecW(entry.cFileName, Wide(namePattern))) {
      names.push_back(FromWide(entry.cFileName));
    }
  } while (FindNextFileW(search.get(), &entry));
  return names;
}

std::optional<uint32_t> Win32FileSystem::Attributes(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return ProgramAttributes(attributes);
}

std::optional<std::u16string> Win32FileSystem::LastWriteText(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  if (!GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data) ||
      !FileTimeToSystemTime(&data.ftLastWriteTime, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    return std::nullopt;
  }
  wchar_t date[128];
  wchar_t time[128];
  if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128,
                       nullptr) ||
      !GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, time, 128)) {
    return std::nullopt;
  }
  return FromWide(date) + u" " + FromWide(time);
}

std::optional<int64_t> Win32FileSystem::SecondsSinceLastWrite(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data)) return std::nullopt;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
  };
  constexpr int64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns
  return (ticks(now) - ticks(data.ftLastWriteTime)) / kTicksPerSecond;
}

}  // namespace norv
