#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/icon_moves.h"

namespace norv {

class FileSystem;
struct IconTable;
struct Services;

// One saved icon: 120 bytes of cp932 text padded with 0x20, then signed 16-bit x and y,
// little-endian. A layout file is nothing but these records.
inline constexpr size_t kLayoutRecordSize = 124;
inline constexpr size_t kLayoutTextBytes = 120;
// Record numbers are 16-bit, so a file holds at most this many; readers stop there.
inline constexpr size_t kMaxLayoutRecords = 32767;

struct LayoutRecord {
  std::u16string text;  // 120 characters, space-padded, as decoded
  int16_t x = 0;
  int16_t y = 0;
};

// appDirectory + "\" + name + ".ppx", the name exactly as typed.
std::u16string LayoutPath(std::u16string_view appDirectory, std::u16string_view name);

// The file content for the table: one record per icon, in table order, positions clamped to
// 16 bits.
std::string EncodeLayout(const IconTable& table);
// Records of the bytes; a trailing partial record is ignored, at most kMaxLayoutRecords.
std::vector<LayoutRecord> DecodeLayout(std::string_view bytes);

// For each record in order, a move of the first icon of the table whose trimmed text equals the
// record's trimmed text; the last record of a text decides where it ends.
std::vector<IconMove> PlanLayoutMoves(const std::vector<LayoutRecord>& records,
                                      const IconTable& table);

// Replaces the file at path with the table's records in one step; false (old file untouched)
// when it could not be written.
bool WriteLayoutFile(FileSystem& files, const std::u16string& path, const IconTable& table);
// The records of the file; a missing file is created empty, an unreadable one gives none.
std::vector<LayoutRecord> ReadLayoutFile(FileSystem& files, const std::u16string& path);
// The same, or nullopt when the file cannot be opened (held open without sharing by another
// program, access denied): unreadable is not empty.
std::optional<std::vector<LayoutRecord>> ReadLayoutFileIfOpened(FileSystem& files,
                                                                const std::u16string& path);
// Moves the icons as the file's records say. Icons are matched by text, so on a desktop the shell
// replaced meanwhile they are matched again. Takes no snapshot of its own unless the desktop was
// replaced. Returns how the moves went.
MoveOutcome ApplyLayoutFile(IconTable& table, Services& services, const std::u16string& path);
// The same with records read already.
MoveOutcome ApplyLayout(IconTable& table, Services& services,
                        const std::vector<LayoutRecord>& records);

}  // namespace norv
