#include "layout/layout_file.h"

#include <algorithm>
#include <unordered_map>

#include "core/app_state.h"
#include "core/cp932.h"
#include "core/file_system.h"
#include "core/geometry.h"
#include "core/icon_moves.h"
#include "core/icon_table.h"
#include "core/settings.h"

namespace norv {
namespace {

void AppendInt16(std::string& out, int16_t value) {
  const auto bits = static_cast<uint16_t>(value);
  out.push_back(static_cast<char>(bits & 0xFF));
  out.push_back(static_cast<char>(bits >> 8));
}

int16_t ReadInt16(std::string_view bytes) {
  const auto low = static_cast<unsigned char>(bytes[0]);
  const auto high = static_cast<unsigned char>(bytes[1]);
  return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

}  // namespace

std::vector<IconMove> PlanLayoutMoves(const std::vector<LayoutRecord>& records,
                                      const IconTable& table) {
  // Only the first icon of each text is ever matched, so one entry per text is enough.
  const size_t icons =
      std::min(static_cast<size_t>(std::max(table.itemCount, 0)), table.texts.size());
  std::unordered_map<std::u16string_view, int32_t> firstIconOfText;
  firstIconOfText.reserve(icons);
  for (size_t i = 0; i < icons; ++i) {
    firstIconOfText.try_emplace(TrimTrailingSpaces(table.texts[i]), static_cast<int32_t>(i));
  }

  std::vector<IconMove> moves;
  for (const LayoutRecord& record : records) {
    const auto icon = firstIconOfText.find(TrimTrailingSpaces(record.text));
    if (icon != firstIconOfText.end()) moves.push_back({icon->second, {record.x, record.y}});
  }
  return moves;
}

std::u16string LayoutPath(std::u16string_view appDirectory, std::u16string_view name) {
  std::u16string path(appDirectory);
  path += u'\\';
  path += name;
  path += kLayoutExtension;
  return path;
}

std::string EncodeLayout(const IconTable& table) {
  // Readers stop at kMaxLayoutRecords, so records beyond it would only take space.
  const size_t count = std::min({static_cast<size_t>(std::max(table.itemCount, 0)),
                                 table.texts.size(), table.positions.size(), kMaxLayoutRecords});
  std::string out;
  out.reserve(count * kLayoutRecordSize);
  for (size_t i = 0; i < count; ++i) {
    // The padded text can encode to more than 120 bytes (double-byte characters before the
    // padding); cutting at a character boundary keeps the field exactly 120 bytes.
    std::string text(CutCp932(EncodeCp932(table.texts[i]), kLayoutTextBytes));
    text.resize(kLayoutTextBytes, ' ');
    out += text;
    AppendInt16(out, ClampTo16Bits(table.positions[i].x));
    AppendInt16(out, ClampTo16Bits(table.positions[i].y));
  }
  return out;
}

std::vector<LayoutRecord> DecodeLayout(std::string_view bytes) {
  const size_t count = std::min(bytes.size() / kLayoutRecordSize, kMaxLayoutRecords);
  std::vector<LayoutRecord> records;
  records.reserve(count);
  for (size_t k = 0; k < count; ++k) {
    const std::string_view record = bytes.substr(k * kLayoutRecordSize, kLayoutRecordSize);
    records.push_back({PadIconText(DecodeCp932(record.substr(0, kLayoutTextBytes))),
                       ReadInt16(record.substr(kLayoutTextBytes)),
                       ReadInt16(record.substr(kLayoutTextBytes + 2))});
  }
  return records;
}

bool WriteLayoutFile(FileSystem& files, const std::u16string& path, const IconTable& table) {
  return files.ReplaceAtomically(path, EncodeLayout(table));
}

std::optional<std::vector<LayoutRecord>> ReadLayoutFileIfOpened(FileSystem& files,
                                                                const std::u16string& path) {
  // Only the records a reader may use are read, however large the file is.
  const std::optional<FileSystem::Prefix> prefix =
      files.ReadOrCreate(path, kMaxLayoutRecords * kLayoutRecordSize);
  if (!prefix) return std::nullopt;
  return DecodeLayout(prefix->bytes);
}

std::vector<LayoutRecord> ReadLayoutFile(FileSystem& files, const std::u16string& path) {
  return ReadLayoutFileIfOpened(files, path).value_or(std::vector<LayoutRecord>{});
}

MoveOutcome ApplyLayoutFile(IconTable& table, Services& services, const std::u16string& path) {
  return ApplyLayout(table, services, ReadLayoutFile(services.files, path));
}

MoveOutcome ApplyLayout(IconTable& table, Services& services,
                        const std::vector<LayoutRecord>& records) {
  if (records.empty()) return {};
  const auto plan = [&](const IconTable& now) { return PlanLayoutMoves(records, now); };
  return MoveIcons(table, services, plan, OnNewDesktop::kPlanAgain);
}

}  // namespace norv
