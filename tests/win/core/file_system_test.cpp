#include "core/win32/file_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <regex>

#include "core/atomic_write_names.h"
#include "core/win32/scoped_handles.h"
#include "core/win32/wide_text.h"
#include "support/build_paths.h"
#include "support/fake_services.h"
#include "support/test_folder.h"
#include "support/under_wine.h"

namespace norv {
namespace {

using wintest::ReadFileBytes;
using wintest::TestFolder;
using wintest::WriteFileBytes;

std::vector<std::u16string> Sorted(std::vector<std::u16string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::u16string> FolderContents(const TestFolder& folder) {
  Win32FileSystem files;
  return Sorted(files.List(folder / u"*", kAttrHidden | kAttrSystem | kAttrDirectory));
}

TEST(Win32FileSystemTest, ReplaceWritesNewFilesAndShorterRewritesWhole) {
  TestFolder folder;
  Win32FileSystem files;
  const std::u16string target = folder / u"配置.ppx";
  ASSERT_TRUE(files.ReplaceAtomically(target, std::string(248, 'a')));
  EXPECT_EQ(ReadFileBytes(target), std::string(248, 'a'));
  ASSERT_TRUE(files.ReplaceAtomically(target, "short"));
  EXPECT_EQ(ReadFileBytes(target), "short");
  ASSERT_TRUE(files.ReplaceAtomically(target, ""));
  EXPECT_EQ(ReadFileBytes(target), "");
  // No temporary file is left beside it.
  EXPECT_EQ(FolderContents(folder), std::vector<std::u16string>{u"配置.ppx"});
}

TEST(Win32FileSystemTest, ReplaceKeepsAReadOnlyTargetAndFailsWhereItCannotWrite) {
  TestFolder folder;
  Win32FileSystem files;
  const std::u16string target = folder / u"kept.ppx";
  ASSERT_TRUE(WriteFileBytes(target, "old"));
  ASSERT_TRUE(SetFileAttributesW(Wide(target), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(files.ReplaceAtomically(target, "new"));
  EXPECT_EQ(ReadFileBytes(target), "old");
  EXPECT_EQ(files.Attributes(target).value_or(0) & kAttrReadOnly, kAttrReadOnly);

  // Held open without sharing, as another program may hold a layout.
  const std::u16string locked = folder / u"locked.ppx";
  ASSERT_TRUE(WriteFileBytes(locked, "old"));
  {
    const ScopedHandle holder(CreateFileW(Wide(locked), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_FALSE(files.ReplaceAtomically(locked, "new"));
  }
  EXPECT_EQ(ReadFileBytes(locked), "old");

  EXPECT_FALSE(files.ReplaceAtomically(folder / u"no such folder\\a.ppx", "new"));
  EXPECT_FALSE(files.ReplaceAtomically(folder.path(), "a folder is not a file"));
  EXPECT_EQ(FolderContents(folder), (std::vector<std::u16string>{u"kept.ppx", u"locked.ppx"}));
}

TEST(Win32FileSystemTest, ReadOrCreateMakesAnEmptyFileAndReadsOnlyTheAskedPrefix) {
  TestFolder folder;
  Win32FileSystem files;
  const std::u16string fresh = folder / u"Norv.e01";
  const auto created = files.ReadOrCreate(fresh, 124);
  ASSERT_TRUE(created);
  EXPECT_EQ(created->bytes, "");
  EXPECT_EQ(created->fileSize, 0u);
  EXPECT_TRUE(files.CanOpenForReading(fresh));

  std::string large(3 * 1024 * 1024 + 7, 'x');
  large.replace(0, 5, "start");
  const std::u16string big = folder / u"big.ppx";
  ASSERT_TRUE(WriteFileBytes(big, large));
  const auto prefix = files.ReadOrCreate(big, 130);
  ASSERT_TRUE(prefix);
  EXPECT_EQ(prefix->bytes, large.substr(0, 130));
  EXPECT_EQ(prefix->fileSize, large.size());

  // A read-only file is read (and left unchanged); a folder is refused.
  ASSERT_TRUE(SetFileAttributesW(Wide(big), FILE_ATTRIBUTE_READONLY));
  const auto readOnly = files.ReadOrCreate(big, 130);
  ASSERT_TRUE(readOnly);
  EXPECT_EQ(readOnly->bytes, large.substr(0, 130));
  EXPECT_FALSE(files.ReadOrCreate(folder.path(), 130));
}

TEST(Win32FileSystemTest, AttributesKeepOnlyTheClassesTheProgramTellsApart) {
  EXPECT_EQ(ProgramAttributes(FILE_ATTRIBUTE_NORMAL), kAttrNone);
  EXPECT_EQ(ProgramAttributes(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED),
            kAttrArchive);
  EXPECT_EQ(ProgramAttributes(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE |
                              FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_OFFLINE),
            kAttrReadOnly | kAttrArchive);
  EXPECT_EQ(ProgramAttributes(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
            kAttrHidden | kAttrSystem | kAttrDirectory);

  TestFolder folder;
  Win32FileSystem files;
  const uint32_t alwaysArchive = wintest::UnderWine() ? kAttrArchive : kAttrNone;
  const struct {
    const char16_t* name;
    DWORD set;
    uint32_t expected;
  } cases[] = {
      {u"normal.ppx", FILE_ATTRIBUTE_NORMAL, kAttrNone | alwaysArchive},
      {u"archive.ppx", FILE_ATTRIBUTE_ARCHIVE, kAttrArchive},
      {u"readonly.ppx", FILE_ATTRIBUTE_READONLY, kAttrReadOnly | alwaysArchive},
      {u"both.ppx", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, kAttrReadOnly | kAttrArchive},
  };
  for (const auto& c : cases) {
    const std::u16string path = folder / c.name;
    ASSERT_TRUE(WriteFileBytes(path, "x"));
    ASSERT_TRUE(SetFileAttributesW(Wide(path), c.set));
    EXPECT_EQ(files.Attributes(path), c.expected) << test::Utf8(c.name);
  }
  EXPECT_EQ(files.Attributes(folder.path()), kAttrDirectory);
  EXPECT_FALSE(files.Attributes(folder / u"missing.ppx"));
}

TEST(Win32FileSystemTest, ListShowsHiddenAndFolderEntriesOnlyWhenAsked) {
  TestFolder folder;
  Win32FileSystem files;
  ASSERT_TRUE(WriteFileBytes(folder / u"a.ppx", ""));
  ASSERT_TRUE(WriteFileBytes(folder / u"b.ppx", ""));
  ASSERT_TRUE(SetFileAttributesW(Wide(folder / u"b.ppx"), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(WriteFileBytes(folder / u"c.ppx", ""));
  ASSERT_TRUE(SetFileAttributesW(Wide(folder / u"c.ppx"), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(WriteFileBytes(folder / u"other.txt", ""));
  // Found by "*.ppx" through their 8.3 names only ("D~1.PPX"), so not listed.
  ASSERT_TRUE(WriteFileBytes(folder / u"d.ppxtmp", ""));
  ASSERT_TRUE(WriteFileBytes(folder / u"e.ppx.~1f_0.tmp", ""));
  ASSERT_TRUE(CreateDirectoryW(Wide(folder / u"sub.ppx"), nullptr));

  const std::u16string pattern = folder / u"*.ppx";
  EXPECT_EQ(Sorted(files.List(pattern, kAttrNone)),
            (std::vector<std::u16string>{u"a.ppx", u"b.ppx"}));
  EXPECT_EQ(Sorted(files.List(pattern, kAttrArchive)),
            (std::vector<std::u16string>{u"a.ppx", u"b.ppx"}));
  EXPECT_EQ(Sorted(files.List(pattern, kAttrHidden)),
            (std::vector<std::u16string>{u"a.ppx", u"b.ppx", u"c.ppx"}));
  EXPECT_EQ(Sorted(files.List(pattern, kAttrDirectory)),
            (std::vector<std::u16string>{u"a.ppx", u"b.ppx", u"sub.ppx"}));
  EXPECT_TRUE(files.List(folder / u"missing\\*.ppx", kAttrNone).empty());
}

TEST(Win32FileSystemTest, TheLongestPathWhoseTemporaryFileFitsIsWrittenAndLeftoversGoAtStart) {
  TestFolder folder;
  Win32FileSystem files;
  const size_t longest = kMaxPathLength - kAtomicWriteSuffixMaxLength;
  const std::u16string name(longest - folder.path().size() - 1, u'n');
  ASSERT_TRUE(files.ReplaceAtomically(folder / name, "layout"));
  EXPECT_EQ(ReadFileBytes(folder / name), "layout");

  ASSERT_TRUE(WriteFileBytes(AtomicWriteTemporaryPath(folder / u"a.ppx", 0x1f, 0), "cut short"));
  ASSERT_TRUE(WriteFileBytes(folder / u"Norv.e01.~1f_1.tmp", "cut short"));
  ASSERT_TRUE(WriteFileBytes(folder / u"mine.tmp", "the user's"));
  // Written just now: a command process may still be at it.
  RemoveLeftoverTemporaries(files, folder.path());
  EXPECT_EQ(FolderContents(folder).size(), 4u);
  for (const char16_t* leftover : {u"a.ppx.~1f_0.tmp", u"Norv.e01.~1f_1.tmp"})
    EXPECT_TRUE(wintest::AgeFile(std::wstring(Wide(folder / leftover)), 600))
        << test::Utf8(leftover);
  EXPECT_GE(files.SecondsSinceLastWrite(folder / u"a.ppx.~1f_0.tmp").value_or(0), 600);
  RemoveLeftoverTemporaries(files, folder.path());
  EXPECT_EQ(FolderContents(folder), (std::vector<std::u16string>{u"mine.tmp", name}));
}

TEST(Win32FileSystemTest, DeleteRemovesOnlyWhatItMay) {
  TestFolder folder;
  Win32FileSystem files;
  ASSERT_TRUE(WriteFileBytes(folder / u"gone.ppx", ""));
  ASSERT_TRUE(WriteFileBytes(folder / u"kept.ppx", ""));
  ASSERT_TRUE(SetFileAttributesW(Wide(folder / u"kept.ppx"), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(files.Delete(folder / u"gone.ppx"));
  EXPECT_FALSE(files.Delete(folder / u"kept.ppx"));
  EXPECT_FALSE(files.Delete(folder / u"never.ppx"));
  EXPECT_EQ(FolderContents(folder), std::vector<std::u16string>{u"kept.ppx"});
  EXPECT_FALSE(files.CanOpenForReading(folder / u"gone.ppx"));
  EXPECT_TRUE(files.CanOpenForReading(folder / u"kept.ppx"));
  EXPECT_FALSE(files.CanOpenForReading(folder.path()));
}

TEST(Win32FileSystemTest, LastWriteTextIsTheJapaneseShortDateAndTime) {
  TestFolder folder;
  Win32FileSystem files;
  const std::u16string path = folder / u"dated.ppx";
  ASSERT_TRUE(WriteFileBytes(path, "x"));
  // 2026-12-07 10:52:31 local time.
  SYSTEMTIME local{2026, 12, 1, 7, 10, 52, 31, 0};
  SYSTEMTIME utc{};
  FILETIME written{};
  ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &written));
  {
    const ScopedHandle file(CreateFileW(Wide(path), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid());
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written));
  }
  const auto text = files.LastWriteText(path);
  ASSERT_TRUE(text);
  // Windows writes the month and day with two digits, Wine's Japanese locale with one.
  EXPECT_TRUE(std::regex_match(test::Utf8(*text), std::regex("2026/12/0?7 10:52:31")))
      << test::Utf8(*text);
  EXPECT_FALSE(files.LastWriteText(folder / u"missing.ppx"));
}

}  // namespace
}  // namespace norv
