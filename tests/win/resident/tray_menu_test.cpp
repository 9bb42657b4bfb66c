#include "resident/win32/tray_menu.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace norv {
namespace {

TEST(TrayMenuTest, FourEntriesSeparatedByThreeLines) {
  const ScopedMenu owned = CreateTrayMenu();
  const HMENU menu = owned.get();
  ASSERT_NE(menu, nullptr);
  struct Entry {
    std::wstring caption;
    UINT id;
    bool separator;
  };
  std::vector<Entry> entries;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t caption[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = caption;
    info.cch = 63;
    ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
    entries.push_back({caption, info.wID, (info.fType & MFT_SEPARATOR) != 0});
  }
  ASSERT_EQ(entries.size(), 7u);
  EXPECT_EQ(entries[0].caption, L"設定...");
  EXPECT_EQ(entries[2].caption, L"復帰...");
  EXPECT_EQ(entries[4].caption, L"ﾍﾙﾌﾟ...");
  EXPECT_EQ(entries[6].caption, L"終了");
  for (int i : {1, 3, 5}) EXPECT_TRUE(entries[i].separator) << i;
  EXPECT_EQ(entries[0].id, kMenuSettings);
  EXPECT_EQ(entries[2].id, kMenuRestore);
  EXPECT_EQ(entries[4].id, kMenuHelp);
  EXPECT_EQ(entries[6].id, kMenuExit);
}

}  // namespace
}  // namespace norv
