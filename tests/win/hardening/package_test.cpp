#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/build_paths.h"

namespace norv {
namespace {

using wintest::WindowsPath;

class UnpackedProgramVersion : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring exe = WindowsPath(NORV_UNPACKED) + L"\\Norv.exe";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "Norv.exe from the zip has no version resource";
    info_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info_.data()));
  }

  std::wstring Text(const wchar_t* block, const wchar_t* name) const {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
    if (!VerQueryValueW(info_.data(), key.c_str(), &value, &length) || length == 0) return {};
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
  }

  std::vector<char> info_;
};

TEST_F(UnpackedProgramVersion, IsTheVersionInTheZipName) {
  const std::wstring version = Text(L"041104B0", L"FileVersion");
  ASSERT_FALSE(version.empty());
  const std::wstring zip =
      WindowsPath(NORV_PACKAGE_FOLDER) + L"\\Norvane-" + version + L"-win64.zip";
  EXPECT_NE(GetFileAttributesW(zip.c_str()), INVALID_FILE_ATTRIBUTES)
      << "no package named after the program's version "
      << std::string(version.begin(), version.end());
}

TEST_F(UnpackedProgramVersion, SaysTheSameInEveryField) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  for (const wchar_t* block : {L"041104B0", L"040904B0"}) {
    EXPECT_EQ(Text(block, L"FileVersion"), numbers) << block;
    EXPECT_EQ(Text(block, L"ProductVersion"), numbers) << block;
  }
}

}  // namespace
}  // namespace norv
