#include "support/fake_services.h"

#include <algorithm>

#include "core/atomic_write_names.h"
#include "core/cp932.h"
#include "core/ini_document.h"
#include "core/settings.h"

namespace norv::test {

// ---- SimulatedDesktop ----

void SimulatedDesktop::Add(std::u16string text, int32_t x, int32_t y, int32_t image) {
  items.push_back({std::move(text), image, {x, y}});
}

void SimulatedDesktop::ResetCounters() {
  finds = countRequests = itemReads = positionReads = labelReads = moves = arranges = 0;
  batchBegins = batchEnds = unpaintedMoves = 0;
  moveLog.clear();
}

bool SimulatedDesktop::FindDesktopListView() {
  ++finds;
  foundView_ = view_;
  return present;
}

DesktopRect SimulatedDesktop::GetDesktopRect() { return rect; }

std::optional<int32_t> SimulatedDesktop::GetItemCount() {
  ++countRequests;
  if (!present) return 0;
  if (!Answers()) return std::nullopt;
  return static_cast<int32_t>(items.size());
}

std::optional<std::vector<DesktopItem>> SimulatedDesktop::ReadItems(int32_t count) {
  ++itemReads;
  std::vector<DesktopItem> read;
  for (int32_t i = 0; i < count; ++i) {
    const int position = positionReads++;
    if ((failPositionReadAt && *failPositionReadAt == position) || !Valid(i)) return std::nullopt;
    const int label = labelReads++;
    if ((failLabelReadAt && *failLabelReadAt == label) || !Valid(i)) return std::nullopt;
    const Item& item = items[static_cast<size_t>(i)];
    read.push_back({item.position, item.text, item.image});
  }
  return read;
}

size_t SimulatedDesktop::MoveItems(std::span<const IconMove> list) {
  size_t delivered = 0;
  while (delivered < list.size() && Move(list[delivered])) ++delivered;
  return delivered;
}

bool SimulatedDesktop::Move(const IconMove& move) {
  const int number = moves++;
  moveLog.emplace_back(move.index, PackPosition(move.to.x, move.to.y));
  if (throwAtMove && *throwAtMove == number) throw std::runtime_error("move interrupted");
  if (replaceViewAtMove && *replaceViewAtMove == number) ReplaceView();
  if ((failMoveAt && *failMoveAt == number) || !Answers()) return false;
  if (!painting) ++unpaintedMoves;
  if (!Valid(move.index)) return true;  // delivered, and refused by the view
  // The view keeps 16-bit coordinates, as the packed request carries them.
  items[static_cast<size_t>(move.index)].position = {static_cast<int16_t>(move.to.x),
                                                     static_cast<int16_t>(move.to.y)};
  return true;
}

void SimulatedDesktop::BeginMoveBatch() {
  ++batchBegins;
  if (Answers()) painting = false;
}

void SimulatedDesktop::EndMoveBatch() {
  ++batchEnds;
  if (Exists()) painting = true;
}

bool SimulatedDesktop::ArrangeIcons() {
  ++arranges;
  if (!Answers()) return false;
  const int32_t rows = std::max(1, rect.bottom / cellHeight);
  for (size_t i = 0; i < items.size(); ++i) {
    const auto n = static_cast<int32_t>(i);
    items[i].position = {(n / rows) * cellWidth, (n % rows) * cellHeight};
  }
  return true;
}

// ---- MemoryFileSystem ----

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

bool Matches(std::u16string_view pattern, std::u16string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == u'*') {
    for (size_t skip = 0; skip <= name.size(); ++skip) {
      if (Matches(pattern.substr(1), name.substr(skip))) return true;
    }
    return false;
  }
  if (name.empty()) return false;
  if (pattern[0] != u'?' && Lower(pattern[0]) != Lower(name[0])) return false;
  return Matches(pattern.substr(1), name.substr(1));
}

}  // namespace

void MemoryFileSystem::Create(const std::u16string& path, std::string bytes, uint32_t attributes) {
  if (!Has(path)) creationOrder.push_back(path);
  File& file = files[path];
  file.bytes = std::move(bytes);
  file.attributes = attributes;
}

void MemoryFileSystem::Put(const std::u16string& path, std::string bytes, uint32_t attributes) {
  Create(path, std::move(bytes), attributes);
}

bool MemoryFileSystem::CanOpenForReading(const std::u16string& path) {
  return Has(path) && !lockedPaths.count(path);
}

std::optional<FileSystem::Prefix> MemoryFileSystem::ReadOrCreate(const std::u16string& path,
                                                                 size_t maxBytes) {
  if (lockedPaths.count(path) || directories.count(path)) return std::nullopt;
  if (!Has(path)) {
    if (readOnlyFolder || !directories.count(DirectoryOf(path))) return std::nullopt;
    Create(path, {}, kAttrArchive);
  }
  const std::string& bytes = files[path].bytes;
  return Prefix{bytes.substr(0, std::min(maxBytes, bytes.size())), bytes.size()};
}

bool MemoryFileSystem::ReplaceAtomically(const std::u16string& path, std::string_view bytes) {
  ++writes;
  if (readOnlyFolder || diskFull || lockedPaths.count(path)) return false;
  // Its temporary file beside the target must have a path Windows takes.
  if (path.size() + kAtomicWriteSuffixMaxLength > kMaxPathLength) return false;
  if (!directories.count(DirectoryOf(path))) return false;
  if (Has(path) && (files[path].attributes & kAttrReadOnly)) return false;
  Create(path, std::string(bytes), kAttrArchive);
  return true;
}

bool MemoryFileSystem::Delete(const std::u16string& path) {
  if (readOnlyFolder || lockedPaths.count(path) || !Has(path)) return false;
  if (files[path].attributes & kAttrReadOnly) return false;
  files.erase(path);
  creationOrder.erase(std::find(creationOrder.begin(), creationOrder.end(), path));
  return true;
}

bool MemoryFileSystem::CreateFolder(const std::u16string& path) {
  if (directories.count(path)) return true;
  if (readOnlyFolder || Has(path) || !directories.count(DirectoryOf(path))) return false;
  directories.insert(path);
  return true;
}

std::vector<std::u16string> MemoryFileSystem::List(const std::u16string& pattern,
                                                   uint32_t attributes) {
  const std::u16string directory = DirectoryOf(pattern);
  const std::u16string namePattern = pattern.substr(pattern.find_last_of(u":\\") + 1);
  const uint32_t askedFor = attributes & (kAttrHidden | kAttrSystem | kAttrDirectory);
  std::vector<std::u16string> names;
  for (const std::u16string& path : creationOrder) {
    if (DirectoryOf(path) != directory) continue;
    const std::u16string name = path.substr(directory.size() + 1);
    const uint32_t special = files[path].attributes & (kAttrHidden | kAttrSystem | kAttrDirectory);
    if ((special & ~askedFor) == 0 && Matches(namePattern, name)) names.push_back(name);
  }
  return names;
}

std::optional<uint32_t> MemoryFileSystem::Attributes(const std::u16string& path) {
  if (!Has(path)) return std::nullopt;
  return files[path].attributes;
}

std::optional<int64_t> MemoryFileSystem::SecondsSinceLastWrite(const std::u16string& path) {
  const auto found = files.find(path);
  if (found == files.end()) return std::nullopt;
  return found->second.secondsSinceWrite;
}

std::optional<std::u16string> MemoryFileSystem::LastWriteText(const std::u16string& path) {
  if (!Has(path)) return std::nullopt;
  return files[path].lastWriteText;
}

// ---- MemoryProfileFile ----

std::u16string MemoryProfileFile::Read(const std::u16string& section, const std::u16string& key,
                                       const std::u16string& file) {
  if (!files_.CanOpenForReading(file)) return {};
  const IniDocument document(DecodeCp932(files_.Bytes(file)));
  return document.Get(section, key).value_or(u"");
}

bool MemoryProfileFile::Write(const std::u16string& section, const std::u16string& key,
                              const std::u16string& value, const std::u16string& file) {
  IniDocument document(files_.Has(file) ? DecodeCp932(files_.Bytes(file)) : u"");
  document.Set(section, key, value);
  return files_.ReplaceAtomically(file, EncodeCp932(document.Text()));
}

// ---- RecordingMessages ----

MessageAnswer RecordingMessages::Show(const std::u16string& text, MessageStyle style,
                                      const std::u16string& title) {
  shown.push_back({text, style, title});
  if (answers.empty()) return MessageAnswer::kOk;
  const MessageAnswer answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace norv::test
