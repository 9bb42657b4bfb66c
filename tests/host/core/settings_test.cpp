#include "core/settings.h"

#include <gtest/gtest.h>

#include "core/cp932.h"
#include "core/file_system.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;

const std::u16string kIni = u"C:\\Norv\\Norv.ini";

TEST(ParseOptionValueTest, NumbersAreRoundedDownAndAnythingElseIsRefused) {
  EXPECT_EQ(ParseOptionValue(u""), 0);
  EXPECT_EQ(ParseOptionValue(u"1"), 1);
  EXPECT_EQ(ParseOptionValue(u" 1"), 1);
  EXPECT_EQ(ParseOptionValue(u"+3"), 3);
  EXPECT_EQ(ParseOptionValue(u"2.7"), 2);
  EXPECT_EQ(ParseOptionValue(u"-2.5"), -3);
  EXPECT_EQ(ParseOptionValue(u"-8"), -8);
  EXPECT_EQ(ParseOptionValue(u"32767.9"), 32767);
  EXPECT_EQ(ParseOptionValue(u"-32768"), -32768);

  for (std::u16string_view refused :
       {u"abc", u"1abc", u"32768", u"-32769", u"1e400", u"inf", u"nan", u"0x10", u"- 1", u"１",
        u"99999999999999999999999999999999999999999"}) {
    EXPECT_EQ(ParseOptionValue(refused), std::nullopt) << test::Utf8(refused);
  }
}

TEST(LoadOptionsTest, MissingValuesReadAsZeroAndBadOnesKeepTheOption) {
  FakePlatform p;
  p.files.Put(kIni, "[Section]\r\nReCover_0=1\r\n");
  p.state.options = {7, 7};
  LoadOptions(p.state, p.profile);
  EXPECT_EQ(p.state.options, (Options{1, 0}));

  p.files.Put(kIni, "[section]\r\nrecover_0=2.7\r\nRECOVER_1=abc\r\n");
  p.state.options = {0, 5};
  LoadOptions(p.state, p.profile);
  EXPECT_EQ(p.state.options, (Options{2, 5}));

  p.files.Put(kIni, "[Section]\r\nReCover_0=40000\r\nReCover_1=-1\r\n");
  p.state.options = {3, 3};
  LoadOptions(p.state, p.profile);
  EXPECT_EQ(p.state.options, (Options{3, -1}));

  p.files.lockedPaths.insert(kIni);
  LoadOptions(p.state, p.profile);
  EXPECT_EQ(p.state.options, (Options{0, 0}));
}

TEST(LoadOptionsTest, OnlyTheFirst255BytesOfAValueCount) {
  FakePlatform p;
  // Cut at 255 bytes the value is 255 zeros; whole it would be 7.
  p.files.Put(kIni, "[Section]\r\nReCover_0=" + std::string(255, '0') + "7\r\n");
  p.state.options = {9, 0};
  LoadOptions(p.state, p.profile);
  EXPECT_EQ(p.state.options.restoreLastExit, 0);

  EXPECT_EQ(CutProfileValue(std::u16string(200, u'漢')), std::u16string(127, u'漢'));
  EXPECT_EQ(CutProfileValue(u"短い"), u"短い");
  // A character without a cp932 form counts as the one byte it would take, and is kept.
  EXPECT_EQ(CutProfileValue(u"한" + std::u16string(300, u'0')), u"한" + std::u16string(254, u'0'));
}

TEST(SaveOptionsTest, WritesTheSignedNumberTextAndReadsItBack) {
  FakePlatform p;
  p.files.Put(kIni, "; kept\r\n[Other]\r\nReCover_0=9\r\n");
  p.state.options = {1, 1};
  ASSERT_TRUE(SaveOptions(p.state, p.profile));
  EXPECT_EQ(p.files.Bytes(kIni),
            "; kept\r\n[Other]\r\nReCover_0=9\r\n[Section]\r\nReCover_0= 1\r\nReCover_1= 1\r\n");

  for (const Options values :
       {Options{0, -8}, Options{-32768, 32767}}) {
    p.state.options = values;
    ASSERT_TRUE(SaveOptions(p.state, p.profile));
    p.state.options = {5, 5};
    LoadOptions(p.state, p.profile);
    EXPECT_EQ(p.state.options, values);
  }
}

TEST(SaveOptionsTest, AFailedWriteIsReportedAndTheFileKept) {
  FakePlatform p;
  p.files.Put(kIni, "[Section]\r\nReCover_0= 0\r\n");
  p.files.readOnlyFolder = true;
  p.state.options = {1, 1};
  EXPECT_FALSE(SaveOptions(p.state, p.profile));
  EXPECT_EQ(p.files.Bytes(kIni), "[Section]\r\nReCover_0= 0\r\n");
  EXPECT_EQ(p.state.options, (Options{1, 1}));
}

TEST(FileExistsTest, OneTrailingSeparatorIsDroppedAndFoldersAreNotFiles) {
  FakePlatform p;
  p.files.Put(u"C:\\Norv\\Norv.e01", "");
  p.files.directories.insert(u"C:\\dir");
  EXPECT_TRUE(FileExists(p.files, u"C:\\Norv\\Norv.e01"));
  EXPECT_TRUE(FileExists(p.files, u"C:\\Norv\\Norv.e01\\"));
  EXPECT_FALSE(FileExists(p.files, u"C:\\Norv\\Norv.e01\\\\"));
  EXPECT_FALSE(FileExists(p.files, u"C:\\dir\\"));
  EXPECT_FALSE(FileExists(p.files, u"C:\\Norv\\missing.ppx"));
  EXPECT_FALSE(FileExists(p.files, u""));
  p.files.lockedPaths.insert(u"C:\\Norv\\Norv.e01");
  EXPECT_FALSE(FileExists(p.files, u"C:\\Norv\\Norv.e01"));
}

TEST(DirectoryOfTest, CutsAtTheLastColonOrSeparator) {
  EXPECT_EQ(DirectoryOf(u"C:\\dir\\a.ppx"), u"C:\\dir");
  EXPECT_EQ(DirectoryOf(u"C:\\a.ppx"), u"C:");
  EXPECT_EQ(DirectoryOf(u"C:a.ppx"), u"C:");
  EXPECT_EQ(DirectoryOf(u"a.ppx"), u"");
  EXPECT_EQ(DirectoryOf(u"C:\\dir\\"), u"C:\\dir");
  EXPECT_EQ(DirectoryOf(u"C:\\\\*.ppx"), u"C:\\");
  EXPECT_EQ(DirectoryOf(u"\\\\server\\share\\x"), u"\\\\server\\share");
  EXPECT_EQ(DirectoryOf(u""), u"");
}

class SavedLayoutsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p.files.Put(u"C:\\Norv\\plain.ppx", "", kAttrNone);
    p.files.Put(u"C:\\Norv\\archive.PPX", "", kAttrArchive);
    p.files.Put(u"C:\\Norv\\readonly.ppx", "", kAttrReadOnly);
    p.files.Put(u"C:\\Norv\\both.ppx", "", kAttrReadOnly | kAttrArchive);
    p.files.Put(u"C:\\Norv\\hidden.ppx", "", kAttrHidden);
    p.files.Put(u"C:\\Norv\\hiddenarchive.ppx", "", kAttrHidden | kAttrArchive);
    p.files.Put(u"C:\\Norv\\system.ppx", "", kAttrSystem);
    p.files.Put(u"C:\\Norv\\folder.ppx", "", kAttrDirectory);
    p.files.Put(u"C:\\Norv\\Norv.e01", "", kAttrArchive);
    p.files.Put(u"C:\\Other\\elsewhere.ppx", "", kAttrArchive);
  }
  FakePlatform p;
};

TEST_F(SavedLayoutsTest, OnlyPlainArchiveAndReadOnlyLayoutsCount) {
  p.state.savedLayoutCount = 40;
  RecountSavedLayouts(p.state, p.files);
  EXPECT_EQ(p.state.savedLayoutCount, 3);

  EXPECT_EQ(ListFilesWithExactAttributes(p.files, u"C:\\Norv\\*.ppx", {kAttrArchive}),
            (std::vector<std::u16string>{u"C:\\Norv\\archive.PPX"}));
  EXPECT_EQ(ListFilesWithExactAttributes(p.files, u"C:\\Norv\\*.ppx", {kAttrHidden}),
            (std::vector<std::u16string>{u"C:\\Norv\\hidden.ppx"}));
  const size_t both =
      ListFilesWithExactAttributes(p.files, u"C:\\Norv\\*.ppx", {kAttrReadOnly | kAttrArchive})
          .size();
  p.state.savedLayoutCount = static_cast<int16_t>(p.state.savedLayoutCount + both);
  EXPECT_EQ(p.state.savedLayoutCount, 4);
}

TEST_F(SavedLayoutsTest, TheFirstErrorEndsTheListingKeepingWhatWasFound) {
  struct FailingAttributes : test::MemoryFileSystem {
    std::optional<uint32_t> Attributes(const std::u16string& path) override {
      if (path == u"C:\\Norv\\readonly.ppx") return std::nullopt;
      return MemoryFileSystem::Attributes(path);
    }
  } files;
  files.Put(u"C:\\Norv\\a.ppx", "", kAttrNone);
  files.Put(u"C:\\Norv\\readonly.ppx", "", kAttrNone);
  files.Put(u"C:\\Norv\\c.ppx", "", kAttrNone);
  EXPECT_EQ(ListFilesWithExactAttributes(files, u"C:\\Norv\\*.ppx", {kAttrNone}),
            (std::vector<std::u16string>{u"C:\\Norv\\a.ppx"}));
}

TEST_F(SavedLayoutsTest, OneListingServesEveryClassAndAnErrorEndsThemAllAtOnce) {
  struct CountingAttributes : test::MemoryFileSystem {
    std::optional<uint32_t> Attributes(const std::u16string& path) override {
      ++reads;
      if (path == u"C:\\Norv\\gone.ppx") return std::nullopt;
      return MemoryFileSystem::Attributes(path);
    }
    int reads = 0;
  } files;
  files.Put(u"C:\\Norv\\ro.ppx", "", kAttrReadOnly);
  files.Put(u"C:\\Norv\\archive.ppx", "", kAttrArchive);
  files.Put(u"C:\\Norv\\plain.ppx", "", kAttrNone);
  files.Put(u"C:\\Norv\\gone.ppx", "", kAttrNone);
  files.Put(u"C:\\Norv\\later.ppx", "", kAttrArchive);
  EXPECT_EQ(CollectSavedLayouts(files, u"C:\\Norv"),
            (std::vector<std::u16string>{u"C:\\Norv\\plain.ppx", u"C:\\Norv\\archive.ppx",
                                         u"C:\\Norv\\ro.ppx"}));
  EXPECT_EQ(files.reads, 4);
}

}  // namespace
}  // namespace norv
