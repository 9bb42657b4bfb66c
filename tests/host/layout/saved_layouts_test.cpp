#include "layout/saved_layouts.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "layout/restore_dialog.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;

TEST(CollectSavedLayoutsTest, ListsExactlyWhatTheMainWindowCounts) {
  FakePlatform p;
  p.files.Put(u"C:\\Norv\\ro.ppx", "", kAttrReadOnly);
  p.files.Put(u"C:\\Norv\\archive.ppx", "", kAttrArchive);
  p.files.Put(u"C:\\Norv\\ro-archive.ppx", "", kAttrReadOnly | kAttrArchive);
  p.files.Put(u"C:\\Norv\\plain.ppx", "", kAttrNone);
  p.files.Put(u"C:\\Norv\\hidden.ppx", "", kAttrHidden);
  p.files.Put(u"C:\\Norv\\system.ppx", "", kAttrSystem | kAttrArchive);
  p.files.Put(u"C:\\Norv\\other.txt", "", kAttrArchive);
  p.files.Put(u"C:\\Elsewhere\\far.ppx", "", kAttrArchive);

  const std::vector<std::u16string> paths = CollectSavedLayouts(p.files, u"C:\\Norv");
  // None first, then archive only, then read-only only.
  EXPECT_EQ(paths, (std::vector<std::u16string>{u"C:\\Norv\\plain.ppx", u"C:\\Norv\\archive.ppx",
                                                u"C:\\Norv\\ro.ppx"}));
  RecountSavedLayouts(p.state, p.files);
  EXPECT_EQ(p.state.savedLayoutCount, static_cast<int16_t>(paths.size()));
}

TEST(CollectSavedLayoutsTest, NoLayoutsGiveAnEmptyList) {
  FakePlatform p;
  p.files.Put(u"C:\\Norv\\Norv.ini", "", kAttrArchive);
  EXPECT_TRUE(CollectSavedLayouts(p.files, u"C:\\Norv").empty());
}

TEST(SortSavedLayoutsTest, OrdersByUtf16CodeUnit) {
  std::vector<std::u16string> paths{u"C:\\Norv\\b.ppx",   u"C:\\Norv\\a.ppx",   u"C:\\Norv\\C.ppx",
                                    u"C:\\Norv\\a.b.ppx", u"C:\\Norv\\a b.ppx", u"C:\\Norv\\ｱ.ppx",
                                    u"C:\\Norv\\😀.ppx"};
  SortSavedLayouts(paths);
  // Upper case before lower case, a space before "."; a surrogate pair (D83D) before the
  // half-width katakana U+FF71, although its code point is larger.
  EXPECT_EQ(paths,
            (std::vector<std::u16string>{
                u"C:\\Norv\\C.ppx", u"C:\\Norv\\a b.ppx", u"C:\\Norv\\a.b.ppx", u"C:\\Norv\\a.ppx",
                u"C:\\Norv\\b.ppx", u"C:\\Norv\\😀.ppx", u"C:\\Norv\\ｱ.ppx"}));
}

TEST(LayoutNameTest, NameEndsAtTheFirstDot) {
  EXPECT_EQ(LayoutName(u"C:\\Norv\\a.b.ppx"), u"a");
  EXPECT_EQ(LayoutName(u"C:\\Norv\\ 配置 .ppx"), u" 配置 ");
  EXPECT_EQ(LayoutName(u"C:\\Norv\\.ppx"), u"");
  EXPECT_EQ(LayoutName(u"C:\\Norv.d\\plain"), u"plain");
  EXPECT_EQ(LayoutName(u"C:a.ppx"), u"a");

  const FileNameParts parts = SplitFileName(u"a.b.ppx");
  EXPECT_EQ(parts.name, u"a");
  EXPECT_EQ(parts.extension, u"b.ppx");
  const FileNameParts bare = SplitFileName(u"readme");
  EXPECT_EQ(bare.name, u"readme");
  EXPECT_EQ(bare.extension, u"");
}

TEST(LayoutDateTextTest, FourDigitYearsKeepTenCharactersOthersEight) {
  EXPECT_EQ(LayoutDateText(u"2026/12/07 10:52:31"), u"2026/12/07");
  EXPECT_EQ(LayoutDateText(u"26/12/07 10:52:31"), u"26/12/07");
  // Only a text starting with "20" counts as a four-digit year.
  EXPECT_EQ(LayoutDateText(u"1999/12/31 23:59:59"), u"1999/12/");
  EXPECT_EQ(LayoutDateText(u"2026"), u"2026");
  EXPECT_EQ(LayoutDateText(u""), u"");
}

TEST(SavedLayoutRowTest, NameTabDateAndAnUnreadableDateKeepsTheRow) {
  FakePlatform p;
  p.files.Put(u"C:\\Norv\\a.b.ppx", "");
  EXPECT_EQ(SavedLayoutRow(p.files, u"C:\\Norv\\a.b.ppx"), u"a\t2026/12/07");
  p.files.files[u"C:\\Norv\\a.b.ppx"].lastWriteText = u"26/12/07 1:02";
  EXPECT_EQ(SavedLayoutRow(p.files, u"C:\\Norv\\a.b.ppx"), u"a\t26/12/07");
  EXPECT_EQ(SavedLayoutRow(p.files, u"C:\\Norv\\gone.ppx"), u"gone\t");
}

}  // namespace
}  // namespace norv
