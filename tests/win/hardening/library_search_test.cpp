// Norv.exe restricts where libraries are looked for before it does anything else. The restriction
// lasts for the whole process, so these tests run in a program of their own, in this order.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shobjidl.h>
#include <windows.h>

#include "app/startup.h"
#include "core/win32/wide_text.h"
#include "support/build_paths.h"
#include "support/test_folder.h"

namespace norv {
namespace {

using wintest::TestFolder;

constexpr wchar_t kBesideTheProgram[] = L"norv_planted.dll";
constexpr wchar_t kInCurrentDirectory[] = L"norv_planted_here.dll";

std::wstring Planted() { return wintest::WindowsPath(NORV_PLANTED_LIBRARY); }

bool Loads(const wchar_t* name) {
  const HMODULE module = LoadLibraryW(name);
  if (module) FreeLibrary(module);
  return module != nullptr;
}

TEST(LibrarySearchTest, PlantedLibrariesAreNotLoadedOnceTheSearchIsRestricted) {
  // The planted library sits beside this program (the build puts it there) and in the current
  // directory.
  TestFolder current;
  ASSERT_TRUE(CopyFileW(Planted().c_str(), Wide(current / u"norv_planted_here.dll"), FALSE));
  ASSERT_TRUE(SetCurrentDirectoryW(Wide(current.path())));

  // Without the restriction both would be loaded by name.
  ASSERT_TRUE(Loads(kBesideTheProgram));
  ASSERT_TRUE(Loads(kInCurrentDirectory));

  RestrictLibrarySearch();
  EXPECT_FALSE(Loads(kBesideTheProgram));
  EXPECT_FALSE(Loads(kInCurrentDirectory));
  // The system's own libraries still load by name, and so does the shell's shortcut object that
  // the start-up registration creates.
  EXPECT_TRUE(Loads(L"version.dll"));
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  IShellLinkW* link = nullptr;
  EXPECT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))));
  if (link) link->Release();
  CoUninitialize();

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  SetCurrentDirectoryW(temp);
}

}  // namespace
}  // namespace norv
