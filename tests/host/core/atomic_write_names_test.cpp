#include "core/atomic_write_names.h"

#include <gtest/gtest.h>

#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;

TEST(AtomicWriteNamesTest, TheTemporaryFileAddsAtMost23CharactersToItsTarget) {
  EXPECT_EQ(AtomicWriteTemporaryPath(u"C:\\Norv\\a.ppx", 0x1f, 0), u"C:\\Norv\\a.ppx.~1f_0.tmp");
  EXPECT_EQ(AtomicWriteTemporaryPath(u"x", 0xffffffff, 0xffffffff).size(),
            1 + kAtomicWriteSuffixMaxLength);
}

TEST(AtomicWriteNamesTest, AtStartOnlyExactLeftoversOfTheProgramsOwnWritesAreRemoved) {
  FakePlatform p;
  const std::u16string written = AtomicWriteTemporaryPath(u"C:\\Norv\\Norv.e01", 0xffffffff, 7);
  const std::vector<std::pair<std::u16string, bool>> files{
      // Leftovers of a layout, the start-up snapshot and the settings file.
      {u"C:\\Norv\\机の上.ppx.~1f_0.tmp", true},
      {u"C:\\Norv\\ .ppx.~a_3.tmp", true},
      {u"C:\\Norv\\Norv.ini.~ffffffff_ffffffff.tmp", true},
      {written, true},
      // The user's: not the program's file, or not exactly the pattern.
      {u"C:\\Norv\\机の上.ppx", false},
      {u"C:\\Norv\\mine.tmp", false},
      {u"C:\\Norv\\notes.txt.~1f_0.tmp", false},
      {u"C:\\Norv\\Norv.exe.~1f_0.tmp", false},
      {u"C:\\Norv\\a.ppx.~1F_0.tmp", false},
      {u"C:\\Norv\\a.ppx.~01f_0.tmp", false},
      {u"C:\\Norv\\a.ppx.~1f_.tmp", false},
      {u"C:\\Norv\\a.ppx.~123456789_0.tmp", false},
      {u"C:\\Norv\\a.ppx~1f_0.tmp", false},
      {u"C:\\Norv\\a.ppx.~1f_0.tmp.bak", false},
      {u"C:\\Norv\\a.PPX.~1f_0.tmp", false},
      // Another folder is not the program's.
      {u"C:\\Other\\a.ppx.~1f_0.tmp", false},
      // A folder of its own, with a file name of its own that is the user's elsewhere.
      {u"C:\\Norv\\Displays\\index.txt.~1f_0.tmp", true},
      {u"C:\\Norv\\Displays\\2.ppx.~1f_0.tmp", true},
      {u"C:\\Norv\\index.txt.~1f_0.tmp", false},
  };
  for (const auto& [path, leftover] : files) p.files.Put(path, "x");

  RemoveLeftoverTemporaries(p.files, u"C:\\Norv");
  RemoveLeftoverTemporaries(p.files, u"C:\\Norv\\Displays", {u"index.txt"});

  for (const auto& [path, leftover] : files)
    EXPECT_EQ(p.files.Has(path), !leftover) << test::Utf8(path);

  // A command process may be writing one right now; only a file minutes away from now is left.
  for (const auto& [age, removed] : std::vector<std::pair<int64_t, bool>>{
           {0, false}, {60, false}, {-60, false}, {300, true}, {-3600, true}}) {
    SCOPED_TRACE(age);
    p.files.Put(written, "x");
    p.files.files[written].secondsSinceWrite = age;
    RemoveLeftoverTemporaries(p.files, u"C:\\Norv");
    EXPECT_EQ(p.files.Has(written), !removed);
  }
}

}  // namespace
}  // namespace norv
