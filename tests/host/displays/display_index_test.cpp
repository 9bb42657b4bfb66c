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

TEST(DisplayIndexTest, EntriesComeBackInOrder) {
  const std::vector<DisplayEntry> entries{kLaptop, kDocked};
  EXPECT_EQ(DecodeDisplayIndex(EncodeDisplayIndex(entries)), entries);
  EXPECT_TRUE(DecodeDisplayIndex("").empty());
}

TEST(DisplayIndexTest, DamagedLinesAreSkippedAndTheRestKept) {
  const std::string good = EncodeDisplayIndex({kDocked});
  const std::string lines[] = {
      "only\tthree\tfields\r\n",
      "k\tl\td\t..\\..\\Norv.ini\t1\t1\r\n",  // a file outside the folder is never named
      "k\tl\td\tNorv.e01\t1\t1\r\n",
      "k\tl\td\t3.ppx\twide\t1\r\n",
      "\tl\td\t3.ppx\t1\t1\r\n",  // no key
      std::string("k\tl\td\t3.ppx\t1\t1\0\r\n", 18),
  };
  for (const std::string& damaged : lines) {
    const std::vector<DisplayEntry> read = DecodeDisplayIndex(damaged + good);
    ASSERT_EQ(read.size(), 1u) << damaged;
    EXPECT_EQ(read[0], kDocked);
  }
  // A key or a file named twice: the first line holds.
  DisplayEntry sameFile = kLaptop;
  sameFile.file = kDocked.file;
  EXPECT_EQ(DecodeDisplayIndex(EncodeDisplayIndex({kDocked, sameFile, kDocked})),
            std::vector<DisplayEntry>{kDocked});
}

TEST(DisplayIndexTest, ControlCharactersCannotBreakALine) {
  DisplayEntry odd = kDocked;
  odd.label = u"a\tb\r\nc";
  const std::vector<DisplayEntry> read = DecodeDisplayIndex(EncodeDisplayIndex({odd, kLaptop}));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].label, u"a?b??c");
  EXPECT_EQ(read[1], kLaptop);
}

}  // namespace
}  // namespace norv
