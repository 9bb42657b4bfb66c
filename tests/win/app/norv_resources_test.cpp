#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "chrome/win32/chrome_resources.h"
#include "norv_version.h"
#include "support/build_paths.h"

namespace norv {
namespace {

std::wstring NorvExe() { return wintest::WindowsPath(NORV_EXE_PATH); }

std::wstring VersionString(const std::vector<char>& info, const wchar_t* block,
                           const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
  if (!VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0) return {};
  return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

TEST(NorvResourcesTest, TheManifestAsksForPerMonitorDpiCommonControls6AndNoElevation) {
  const HMODULE module = LoadLibraryExW(NorvExe().c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(resource, nullptr) << "no manifest";
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
  const std::string manifest(bytes, SizeofResource(module, resource));
  FreeLibrary(module);
  EXPECT_NE(manifest.find(">PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

TEST(NorvResourcesTest, TheProgramIconComesFirst) {
  const HMODULE module = LoadLibraryExW(NorvExe().c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  // The shell shows the first icon group.
  LPWSTR first = nullptr;
  EnumResourceNamesW(
      module, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
        *reinterpret_cast<LPWSTR*>(found) = name;
        return FALSE;
      },
      reinterpret_cast<LONG_PTR>(&first));
  EXPECT_EQ(first, MAKEINTRESOURCEW(IDI_NORV_PROGRAM));
  const HICON icon = static_cast<HICON>(
      LoadImageW(module, MAKEINTRESOURCEW(IDI_NORV_PROGRAM), IMAGE_ICON, 32, 32, 0));
  EXPECT_NE(icon, nullptr);
  if (icon) DestroyIcon(icon);
  FreeLibrary(module);
}

TEST(NorvResourcesTest, TheVersionIsReadableInJapaneseAndEnglish) {
  const std::wstring exe = NorvExe();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  // The version the build gave the program, whatever it is now.
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(NORV_VERSION_MINOR, NORV_VERSION_MAJOR));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, NORV_VERSION_PATCH)));

  EXPECT_EQ(VersionString(info, L"041104B0", L"FileVersion"), L"" NORV_VERSION_TEXT);
  EXPECT_EQ(VersionString(info, L"041104B0", L"FileDescription"),
            L"Norvane デスクトップ アイコン ツール");
  EXPECT_EQ(VersionString(info, L"040904B0", L"ProductName"), L"Norvane");
  EXPECT_EQ(VersionString(info, L"040904B0", L"OriginalFilename"), L"Norv.exe");
}

}  // namespace
}  // namespace norv
