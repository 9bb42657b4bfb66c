#include "resident/win32/startup_shortcut.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <filesystem>
#include <string>

namespace norv {
namespace {

std::wstring StartupLinkPath() {
  PWSTR folder = nullptr;
  EXPECT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &folder)));
  std::wstring path = folder ? std::wstring(folder) + L"\\Norv.lnk" : L"";
  CoTaskMemFree(folder);
  return path;
}

struct LinkContent {
  std::wstring target;
  std::wstring arguments;
  std::wstring workingDirectory;
};

// Reads a shortcut back through the same shell object a user's Explorer uses.
bool ReadLink(const std::wstring& path, LinkContent& content) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool read = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Load(path.c_str(), STGM_READ));
  wchar_t text[MAX_PATH * 2] = {};
  if (read && SUCCEEDED(link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH)))
    content.target = text;
  if (read && SUCCEEDED(link->GetArguments(text, MAX_PATH * 2))) content.arguments = text;
  if (read && SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH * 2)))
    content.workingDirectory = text;
  if (file) file->Release();
  link->Release();
  return read;
}

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
  LinkContent link;
  ASSERT_TRUE(ReadLink(linkPath_, link)) << "no shortcut at the Startup folder";
  EXPECT_EQ(link.target, L"C:\\ﾂｰﾙ\\Norvane\\Norv.exe");
  EXPECT_EQ(link.arguments, L"");
  EXPECT_EQ(link.workingDirectory, L"C:\\ﾂｰﾙ\\Norvane");
}

TEST_F(StartupShortcutTest, PressingAgainReplacesTheSameShortcut) {
  ASSERT_TRUE(RegisterStartupShortcut(u"C:\\Old"));
  ASSERT_TRUE(RegisterStartupShortcut(u"D:\\New"));
  LinkContent link;
  ASSERT_TRUE(ReadLink(linkPath_, link));
  EXPECT_EQ(link.target, L"D:\\New\\Norv.exe");
  EXPECT_EQ(link.workingDirectory, L"D:\\New");
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
