#include "displays/display_index.h"

#include <gtest/gtest.h>

#include "core/cp932.h"

namespace norv {
namespace {

const DisplayEntry kDocked{u"local|DEL;0;0;1920;1200;0;96",
                           u"1 台: 1920×1200 100% (メイン)",
                           u"2026/12/07 10:52:31",
                           u"1.ppx",
                           {1920, 1160}};
const DisplayEntry kLaptop{u"local|SHP;0;0;1366;768;0;96",
                           u"1 台: 1366×768 100% (メイン)",
                           u"2026/12/08 09:00:00",
                           u"2.ppx",
                           {1366, 728}};

TEST(DisplayIndexTest, EntriesComeBackInOrderAndDamagedLinesAreSkipped) {
  const std::string good = EncodeDisplayIndex({kDocked});
  DisplayEntry sameFile = kLaptop;
  sameFile.file = kDocked.file;
  DisplayEntry odd = kDocked;
  odd.label = u"a\tb\r\nc";
  DisplayEntry oddRead = kDocked;
  oddRead.label = u"a?b??c";
  struct Row {
    const char* what;
    std::string bytes;
    std::vector<DisplayEntry> read;
  };
  const Row rows[] = {
      {"two entries", EncodeDisplayIndex({kLaptop, kDocked}), {kLaptop, kDocked}},
      {"empty", "", {}},
      {"too few fields", "only\tthree\tfields\r\n" + good, {kDocked}},
      // A file outside the folder is never named.
      {"a file outside", "k\tl\td\t..\\..\\Norv.ini\t1\t1\r\n" + good, {kDocked}},
      {"not an arrangement file", "k\tl\td\tNorv.e01\t1\t1\r\n" + good, {kDocked}},
      {"a bad number", "k\tl\td\t3.ppx\twide\t1\r\n" + good, {kDocked}},
      {"no key", "\tl\td\t3.ppx\t1\t1\r\n" + good, {kDocked}},
      {"a NUL", std::string("k\tl\td\t3.ppx\t1\t1\0\r\n", 18) + good, {kDocked}},
      // A key or a file named twice: the first line holds.
      {"named twice", EncodeDisplayIndex({kDocked, sameFile, kDocked}), {kDocked}},
      // Control characters cannot break a line.
      {"control characters", EncodeDisplayIndex({odd, kLaptop}), {oddRead, kLaptop}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(DecodeDisplayIndex(row.bytes), row.read);
  }
}

}  // namespace
}  // namespace norv
