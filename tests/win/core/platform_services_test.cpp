#include <gtest/gtest.h>
#include <windows.h>

#include "core/win32/file_system.h"
#include "core/win32/platform.h"
#include "core/win32/platform_services.h"
#include "core/win32/wide_text.h"
#include "support/build_paths.h"
#include "support/fake_services.h"
#include "support/test_folder.h"

namespace norv {
namespace {

using wintest::ReadFileBytes;
using wintest::TestFolder;

TEST(Win32ProfileFileTest, RoundTripsAndKeepsOtherLines) {
  TestFolder folder;
  Win32ProfileFile profile;
  const std::u16string file = folder / u"Norv.ini";
  EXPECT_EQ(profile.Read(u"Section", u"ReCover_0", file), u"");
  ASSERT_TRUE(wintest::WriteFileBytes(file, "; kept\r\n[Other]\r\nx=1\r\n"));
  ASSERT_TRUE(profile.Write(u"Section", u"ReCover_0", u" 1", file));
  ASSERT_TRUE(profile.Write(u"Section", u"ReCover_1", u"-8", file));
  // Names are compared without regard to case.
  EXPECT_EQ(profile.Read(u"section", u"RECOVER_0", file), u"1");
  EXPECT_EQ(profile.Read(u"Section", u"ReCover_1", file), u"-8");
  EXPECT_EQ(profile.Read(u"Other", u"x", file), u"1");
  EXPECT_NE(ReadFileBytes(file).find("; kept"), std::string::npos);
}

TEST(Win32ProfileFileTest, LongValuesArriveCutAndFailedWritesAreReported) {
  TestFolder folder;
  Win32ProfileFile profile;
  const std::u16string file = folder / u"Norv.ini";
  ASSERT_TRUE(
      wintest::WriteFileBytes(file, "[Section]\r\nReCover_0=" + std::string(300, '7') + "\r\n"));
  EXPECT_EQ(profile.Read(u"Section", u"ReCover_0", file), std::u16string(255, u'7'));
  EXPECT_FALSE(profile.Write(u"Section", u"ReCover_0", u" 1", folder / u"missing\\Norv.ini"));
}

TEST(ProgramDirectoryTest, IsTheFolderWithoutTrailingSeparatorExceptAtARoot) {
  EXPECT_EQ(DirectoryOfProgramPath(u"C:\\Tools\\Norvane\\Norv.exe"), u"C:\\Tools\\Norvane");
  EXPECT_EQ(DirectoryOfProgramPath(u"C:\\Norv.exe"), u"C:\\");
  EXPECT_EQ(DirectoryOfProgramPath(u"\\\\server\\share\\Norv.exe"), u"\\\\server\\share");

  const std::u16string directory = ProgramDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), u'\\');
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(directory + u"\\",
            FromWide(std::wstring_view(self, length)).substr(0, directory.size() + 1));
}

}  // namespace
}  // namespace norv
