#include "core/win32/startup_shortcut.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shobjidl.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "startup_link_reader.h"

namespace norv {
namespace {

using wintest::LinkContent;
using wintest::ReadLink;
using wintest::StartupLinkPath;

class StartupShortcutTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    linkPath_ = StartupLinkPath();
    DeleteFileW(linkPath_.c_str());
  }
  void TearDown() override {
    DeleteFileW(linkPath_.c_str());
    CoUninitialize();
  }
  std::wstring linkPath_;
};

TEST_F(StartupShortcutTest, PointsAtNorvExeWithoutArgumentsInItsFolder) {
  ASSERT_TRUE(RegisterStartupShortcut(u"C:\\ﾂｰﾙ\\Norvane"));
  const std::optional<LinkContent> link = ReadLink(linkPath_);
  ASSERT_TRUE(link) << "no shortcut at the Startup folder";
  EXPECT_EQ(link->target, L"C:\\ﾂｰﾙ\\Norvane\\Norv.exe");
  EXPECT_EQ(link->arguments, L"");
  EXPECT_EQ(link->workingDirectory, L"C:\\ﾂｰﾙ\\Norvane");
}

TEST_F(StartupShortcutTest, PressingAgainReplacesTheSameShortcut) {
  ASSERT_TRUE(RegisterStartupShortcut(u"C:\\Old"));
  ASSERT_TRUE(RegisterStartupShortcut(u"D:\\New"));
  const std::optional<LinkContent> link = ReadLink(linkPath_);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, L"D:\\New\\Norv.exe");
  EXPECT_EQ(link->workingDirectory, L"D:\\New");
  // One shortcut, not a second one beside the first.
  const std::filesystem::path folder = std::filesystem::path(linkPath_).parent_path();
  int shortcuts = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    shortcuts += entry.path().filename().wstring().starts_with(L"Norv") ? 1 : 0;
  EXPECT_EQ(shortcuts, 1);
}

TEST_F(StartupShortcutTest, WorksWhenTheCallerAlreadyUsesCom) {
  // The main window's thread may have initialised COM itself; the call must neither fail nor
  // undo that initialisation.
  ASSERT_TRUE(RegisterStartupShortcut(u"C:\\Norv"));
  IShellLinkW* link = nullptr;
  EXPECT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))));
  if (link) link->Release();
}

}  // namespace
}  // namespace norv
