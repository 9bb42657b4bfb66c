// Reading and applying a layout file of arbitrary bytes against a desktop whose icons partly
// carry the file's texts, checked against the plain record-by-icon rule.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/cp932.h"
#include "core/icon_table.h"
#include "fuzz_check.h"
#include "layout/layout_file.h"
#include "support/fake_services.h"

namespace {

using namespace norv;

const std::u16string kPath = u"C:\\Norv\\fuzz.ppx";

// What applying must do, found the slow and obvious way.
std::vector<Point> ExpectedPositions(const IconTable& table, const std::vector<Point>& before,
                                     const std::vector<LayoutRecord>& records, int& moves) {
  std::vector<Point> after = before;
  moves = 0;
  for (const LayoutRecord& record : records) {
    for (size_t i = 0; i < table.texts.size(); ++i) {
      if (TrimTrailingSpaces(table.texts[i]) == TrimTrailingSpaces(record.text)) {
        after[i] = {record.x, record.y};
        ++moves;
        break;
      }
    }
  }
  return after;
}

void CheckRoundTrip(const IconTable& table) {
  const std::string bytes = EncodeLayout(table);
  FUZZ_CHECK(bytes.size() == table.texts.size() * kLayoutRecordSize);
  const std::vector<LayoutRecord> records = DecodeLayout(bytes);
  FUZZ_CHECK(records.size() == table.texts.size());
  for (size_t i = 0; i < records.size(); ++i) {
    FUZZ_CHECK(records[i].x == table.positions[i].x && records[i].y == table.positions[i].y);
    std::u16string expected = table.texts[i];
    std::replace(expected.begin(), expected.end(), u'\uFFFD', u'?');
    FUZZ_CHECK(records[i].text == expected);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  struct IconSpec {
    bool usesRecordText;
    uint8_t record;
    std::string ownText;
    int16_t x, y;
  };
  std::vector<IconSpec> icons(input.ConsumeIntegralInRange<size_t>(0, 12));
  for (IconSpec& icon : icons) {
    icon.usesRecordText = input.ConsumeBool();
    icon.record = input.ConsumeIntegral<uint8_t>();
    icon.ownText = input.ConsumeRandomLengthString(48);
    icon.x = input.ConsumeIntegral<int16_t>();
    icon.y = input.ConsumeIntegral<int16_t>();
  }
  const std::string file = input.ConsumeRemainingBytesAsString();

  const std::vector<LayoutRecord> decoded = DecodeLayout(file);
  FUZZ_CHECK(decoded.size() == std::min(file.size() / kLayoutRecordSize, kMaxLayoutRecords));
  for (const LayoutRecord& record : decoded) FUZZ_CHECK(record.text.size() == kIconTextWidth);

  test::FakePlatform platform;
  for (const IconSpec& icon : icons) {
    const std::u16string text =
        icon.usesRecordText && !decoded.empty()
            ? std::u16string(TrimTrailingSpaces(decoded[icon.record % decoded.size()].text))
            : DecodeCp932(icon.ownText);
    platform.desktop.Add(text, icon.x, icon.y);
  }
  IconTable& table = platform.state.table;
  if (!icons.empty()) FUZZ_CHECK(SnapshotDesktop(table, platform.services));
  CheckRoundTrip(table);

  platform.files.Put(kPath, file);
  FUZZ_CHECK(ReadLayoutFile(platform.files, kPath).size() == decoded.size());

  std::vector<Point> before;
  for (const auto& item : platform.desktop.items) before.push_back(item.position);
  int expectedMoves = 0;
  const std::vector<Point> expected = ExpectedPositions(table, before, decoded, expectedMoves);
  platform.desktop.ResetCounters();
  const int moves = ApplyLayoutFile(table, platform.services, kPath).delivered;
  FUZZ_CHECK(moves == expectedMoves);
  FUZZ_CHECK(platform.desktop.CrossProcessRequests() == expectedMoves);
  for (size_t i = 0; i < expected.size(); ++i) {
    FUZZ_CHECK(platform.desktop.items[i].position == expected[i]);
  }
  FUZZ_CHECK(platform.files.Bytes(kPath) == file);
  return 0;
}
