#include "layout/layout_file.h"

#include <gtest/gtest.h>

#include "core/cp932.h"
#include "core/icon_table.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;

const std::u16string kPath = u"C:\\Norv\\work.ppx";
#ifdef _WIN32
constexpr char16_t kReplacement = u'\u30FB';  // the system's default character for cp932
#else
constexpr char16_t kReplacement = u'\uFFFD';
#endif

// One record as the file holds it.
std::string Record(std::string_view cp932Text, int16_t x, int16_t y) {
  std::string bytes(cp932Text);
  bytes.resize(kLayoutTextBytes, ' ');
  for (int16_t v : {x, y}) {
    bytes.push_back(static_cast<char>(static_cast<uint16_t>(v) & 0xFF));
    bytes.push_back(static_cast<char>(static_cast<uint16_t>(v) >> 8));
  }
  return bytes;
}

class LayoutFileTest : public ::testing::Test {
 protected:
  void Snapshot() { ASSERT_TRUE(SnapshotDesktop(p.state.table, p.services)); }
  Point At(size_t index) const { return p.desktop.items[index].position; }
  int Apply() { return ApplyLayoutFile(p.state.table, p.services, kPath).delivered; }

  FakePlatform p;
};

TEST(LayoutPathTest, AppendsTheNameExactlyAsTyped) {
  EXPECT_EQ(LayoutPath(u"C:\\Norv", u" 配置 A.b"), u"C:\\Norv\\ 配置 A.b.ppx");
  // At a drive root the separator is doubled, as every file name of the program is appended.
  EXPECT_EQ(LayoutPath(u"C:\\", u"x"), u"C:\\\\x.ppx");
}

TEST_F(LayoutFileTest, WritesTheExactRecordBytesAndReadsThemBack) {
  p.desktop.Add(u"ごみ箱", -5, 100);
  p.desktop.Add(u"マイ コンピュータ", 1074, 818);
  p.desktop.Add(u"ﾒﾓ帳", 0, -32768);
  Snapshot();
  ASSERT_TRUE(WriteLayoutFile(p.files, kPath, p.state.table));

  const std::string expected = Record(EncodeCp932(u"ごみ箱"), -5, 100) +
                               Record(EncodeCp932(u"マイ コンピュータ"), 1074, 818) +
                               Record(EncodeCp932(u"ﾒﾓ帳"), 0, -32768);
  EXPECT_EQ(p.files.Bytes(kPath), expected);
  EXPECT_EQ(p.files.Bytes(kPath).substr(120, 4), std::string("\xFB\xFF\x64\x00", 4));

  const std::vector<LayoutRecord> records = ReadLayoutFile(p.files, kPath);
  ASSERT_EQ(records.size(), 3u);
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].text, p.state.table.texts[i]) << i;
    EXPECT_EQ(records[i].text.size(), kIconTextWidth);
    EXPECT_EQ(records[i].x, p.state.table.positions[i].x);
    EXPECT_EQ(records[i].y, p.state.table.positions[i].y);
  }
}

TEST_F(LayoutFileTest, SavedPositionsComeBackExactlyIncludingNegativeAndHiddenOnes) {
  p.desktop.Add(u"negative", -5, 100);
  p.desktop.Add(u"hidden", 1074, 818);
  Snapshot();
  ASSERT_TRUE(WriteLayoutFile(p.files, kPath, p.state.table));
  p.desktop.ArrangeIcons();
  Snapshot();

  EXPECT_EQ(Apply(), 2);
  EXPECT_EQ(At(0), (Point{-5, 100}));
  EXPECT_EQ(At(1), (Point{1074, 818}));
  Snapshot();
  EXPECT_EQ(p.state.table.states[1], IconState::kHidden);
}

TEST_F(LayoutFileTest, PositionsOutside16BitsAreClampedNotWrapped) {
  IconTable table;
  table.itemCount = 2;
  table.texts = {PadIconText(u"far"), PadIconText(u"near")};
  table.positions = {{40000, -40000}, {70000, 5}};
  ASSERT_TRUE(WriteLayoutFile(p.files, kPath, table));
  const std::vector<LayoutRecord> records = ReadLayoutFile(p.files, kPath);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].x, 32767);
  EXPECT_EQ(records[0].y, -32768);
  EXPECT_EQ(records[1].x, 32767);  // wrapping would have made it 4464, back on the desktop
}

TEST_F(LayoutFileTest, ATextLongerThanTheFieldIsCutAtACharacterBoundary) {
  IconTable table;
  table.itemCount = 1;
  table.texts = {u"a" + std::u16string(60, u'漢')};  // 121 bytes in cp932
  table.positions = {{1, 2}};
  const std::string bytes = EncodeLayout(table);
  ASSERT_EQ(bytes.size(), kLayoutRecordSize);
  // Half a character would have left a lead byte at the field's end; a space takes its place.
  EXPECT_EQ(bytes[kLayoutTextBytes - 1], ' ');
  EXPECT_EQ(DecodeLayout(bytes)[0].text, PadIconText(u"a" + std::u16string(59, u'漢')));
}

TEST(DecodeLayoutTest, CountsWholeRecordsOnly) {
  EXPECT_TRUE(DecodeLayout("").empty());
  EXPECT_TRUE(DecodeLayout(std::string(123, 'a')).empty());
  const std::string oneAndABit = Record("a", 1, 2) + "xxxxxx";
  ASSERT_EQ(oneAndABit.size(), 130u);
  const std::vector<LayoutRecord> records = DecodeLayout(oneAndABit);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].text, PadIconText(u"a"));
  EXPECT_EQ(records[0].x, 1);
  EXPECT_EQ(records[0].y, 2);
}

TEST(DecodeLayoutTest, BadBytesDecodeWithoutFailing) {
  std::string bytes = std::string(kLayoutRecordSize, '\0');
  bytes += Record("\x81\x7f\x82", 7, 8);  // an invalid pair, then a lead byte without a trail
  const std::vector<LayoutRecord> records = DecodeLayout(bytes);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].text.size(), kIconTextWidth);
  EXPECT_EQ(records[0].x, 0);
  EXPECT_NE(records[1].text.find(kReplacement), std::u16string::npos);
  EXPECT_EQ(records[1].text.size(), kIconTextWidth);
  EXPECT_EQ(records[1].x, 7);
}

TEST_F(LayoutFileTest, ReadingStopsAtTheLargestRecordCount) {
  struct SizeRecordingFiles : test::MemoryFileSystem {
    size_t askedFor = 0;
    std::optional<Prefix> ReadOrCreate(const std::u16string& path, size_t maxBytes) override {
      askedFor = maxBytes;
      return MemoryFileSystem::ReadOrCreate(path, maxBytes);
    }
  } files;
  files.directories.insert(u"C:\\Norv");
  files.Put(kPath, std::string((kMaxLayoutRecords + 2) * kLayoutRecordSize, ' '));
  EXPECT_EQ(ReadLayoutFile(files, kPath).size(), kMaxLayoutRecords);
  EXPECT_EQ(files.askedFor, kMaxLayoutRecords * kLayoutRecordSize);
}

TEST_F(LayoutFileTest, AShorterRewriteLeavesNoOldRecordsBehind) {
  for (int i = 0; i < 5; ++i) p.desktop.Add(u"icon" + std::u16string(1, u'0' + i), i, i);
  Snapshot();
  ASSERT_TRUE(WriteLayoutFile(p.files, kPath, p.state.table));
  p.desktop.items.resize(2);
  Snapshot();
  ASSERT_TRUE(WriteLayoutFile(p.files, kPath, p.state.table));
  EXPECT_EQ(p.files.Bytes(kPath).size(), 2 * kLayoutRecordSize);
  EXPECT_EQ(ReadLayoutFile(p.files, kPath).size(), 2u);
}

TEST_F(LayoutFileTest, AFailedWriteKeepsTheOldFileAndSaysSo) {
  p.desktop.Add(u"a", 1, 1);
  Snapshot();
  const std::string old = Record("old", 9, 9);
  p.files.Put(kPath, old);

  p.files.diskFull = true;
  EXPECT_FALSE(WriteLayoutFile(p.files, kPath, p.state.table));
  p.files.diskFull = false;
  p.files.readOnlyFolder = true;
  EXPECT_FALSE(WriteLayoutFile(p.files, kPath, p.state.table));
  p.files.readOnlyFolder = false;
  p.files.lockedPaths.insert(kPath);
  EXPECT_FALSE(WriteLayoutFile(p.files, kPath, p.state.table));

  EXPECT_EQ(p.files.Bytes(kPath), old);
  EXPECT_FALSE(WriteLayoutFile(p.files, u"C:\\Missing\\a.ppx", p.state.table));
  EXPECT_FALSE(p.files.Has(u"C:\\Missing\\a.ppx"));
}

TEST_F(LayoutFileTest, AMissingFileIsCreatedEmptyAndAnUnreadableOneGivesNothing) {
  p.desktop.Add(u"a", 1, 1);
  Snapshot();
  EXPECT_TRUE(ReadLayoutFile(p.files, kPath).empty());
  ASSERT_TRUE(p.files.Has(kPath));
  EXPECT_EQ(p.files.Bytes(kPath), "");

  const std::u16string other = u"C:\\Norv\\other.ppx";
  EXPECT_EQ(ApplyLayoutFile(p.state.table, p.services, other).delivered, 0);
  EXPECT_EQ(p.files.Bytes(other), "");

  p.files.Put(kPath, Record("a", 500, 500));
  p.files.lockedPaths.insert(kPath);
  EXPECT_TRUE(ReadLayoutFile(p.files, kPath).empty());
  EXPECT_EQ(Apply(), 0);
  EXPECT_EQ(p.desktop.moves, 0);
}

TEST_F(LayoutFileTest, AReadOnlyLayoutIsReadAndAppliedButNeverOverwritten) {
  p.desktop.Add(u"a", 1, 1);
  Snapshot();
  const std::string saved = Record("a", 500, 400);
  p.files.Put(kPath, saved, kAttrReadOnly);
  EXPECT_EQ(ReadLayoutFile(p.files, kPath).size(), 1u);
  EXPECT_EQ(Apply(), 1);
  EXPECT_EQ(At(0), (Point{500, 400}));
  Snapshot();
  EXPECT_FALSE(WriteLayoutFile(p.files, kPath, p.state.table));
  EXPECT_EQ(p.files.Bytes(kPath), saved);
}

TEST_F(LayoutFileTest, TheFirstIconOfATextIsMovedAndTheLastRecordDecides) {
  for (int i = 0; i < 9; ++i) p.desktop.Add(u"other" + std::u16string(1, u'0' + i), i, 0);
  p.desktop.items[3].text = u"同じ名前";
  p.desktop.items[7].text = u"同じ名前";
  Snapshot();
  const std::string same = EncodeCp932(u"同じ名前");
  p.files.Put(kPath, Record(same, 100, 200) + Record(same, 300, 400));

  EXPECT_EQ(Apply(), 2);
  EXPECT_EQ(At(3), (Point{300, 400}));
  EXPECT_EQ(At(7), (Point{7, 0}));
  EXPECT_EQ(p.desktop.moveLog, (std::vector<std::pair<int32_t, uint32_t>>{
                                   {3, PackPosition(100, 200)}, {3, PackPosition(300, 400)}}));
}

TEST_F(LayoutFileTest, OnlyTrailingSpacesAreIgnoredWhenMatching) {
  p.desktop.Add(u"memo", 0, 0);
  p.desktop.Add(u"Memo2", 0, 0);
  Snapshot();
  p.files.Put(kPath, Record("memo   ", 10, 10) + Record(" Memo2", 20, 20) + Record("MEMO", 30, 30) +
                         Record("memo\t", 40, 40));
  EXPECT_EQ(Apply(), 1);
  EXPECT_EQ(At(0), (Point{10, 10}));
  EXPECT_EQ(At(1), (Point{0, 0}));
}

TEST_F(LayoutFileTest, ApplyingMakesOneMovePerMatchingRecordAndNothingElse) {
  p.desktop.Add(u"kept", 1, 1);
  p.desktop.Add(u"added since", 2, 2);
  p.desktop.Add(u"moved", 3, 3);
  Snapshot();
  p.desktop.ResetCounters();
  p.files.Put(kPath, Record("removed since", 50, 50) + Record("moved", 60, 60) +
                         Record("kept", 1, 1) + std::string(kLayoutRecordSize, '\0'));

  EXPECT_EQ(Apply(), 2);
  EXPECT_EQ(p.desktop.moves, 2);
  EXPECT_EQ(p.desktop.CrossProcessRequests(), 2);
  EXPECT_EQ(p.desktop.finds, 0);
  EXPECT_EQ(At(1), (Point{2, 2}));
  EXPECT_EQ(At(2), (Point{60, 60}));
}

TEST_F(LayoutFileTest, AnIconGoneSinceTheSnapshotDoesNotStopTheOthersAShellThatDoesNotAnswerDoes) {
  p.desktop.Add(u"a", 0, 0);
  p.desktop.Add(u"b", 0, 0);
  p.desktop.Add(u"c", 0, 0);
  Snapshot();
  p.desktop.items.erase(p.desktop.items.begin());  // "a" deleted: "b" and "c" move up one index
  p.files.Put(kPath, Record("a", 5, 5) + Record("b", 6, 6) + Record("c", 7, 7));
  EXPECT_EQ(Apply(), 3);
  EXPECT_EQ(p.desktop.moves, 3);

  p.desktop.failMoveAt = p.desktop.moves;  // not answered in time, as by a busy shell
  EXPECT_EQ(Apply(), 0);
  EXPECT_EQ(p.desktop.moves, 4);
}

}  // namespace
}  // namespace norv
