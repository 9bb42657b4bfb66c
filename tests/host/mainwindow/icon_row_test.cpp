#include "mainwindow/icon_row.h"

#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace norv {
namespace {

using test::MainWindowTest;

class IconRowTest : public MainWindowTest {};

TEST_F(IconRowTest, ShownRowHasEveryFieldAndHiddenRowHasThreeTabsInARow) {
  p.desktop.Add(u"ごみ箱", 120, 45, 3);
  p.desktop.Add(u"メモ.txt", 1025, 10, 7);
  StartUp();
  EXPECT_EQ(IconRow(table(), 0), u" 1\t 120\t 45\t 3\t表示\t" + PadIconText(u"ごみ箱"));
  EXPECT_EQ(IconRow(table(), 1), u" 2\t\t\t 7\t非表示\t" + PadIconText(u"メモ.txt"));
  // The whole text field, trailing spaces included, ends the row.
  EXPECT_EQ(IconRow(table(), 0).size(), std::u16string(u" 1\t 120\t 45\t 3\t表示\t").size() + 120);
}

TEST_F(IconRowTest, EdgeOfTheDesktopIsShownAndNegativeNumbersTakeTheSignPosition) {
  p.desktop.Add(u"edge", 1024, 768, 0);
  p.desktop.Add(u"left", -8, 20, 12);
  p.desktop.Add(u"below", 5, 769, 1);
  StartUp();
  EXPECT_EQ(IconRow(table(), 0), u" 1\t 1024\t 768\t 0\t表示\t" + PadIconText(u"edge"));
  EXPECT_EQ(IconRow(table(), 1), u" 2\t-8\t 20\t 12\t表示\t" + PadIconText(u"left"));
  EXPECT_EQ(IconRow(table(), 2), u" 3\t\t\t 1\t非表示\t" + PadIconText(u"below"));
}

TEST_F(IconRowTest, RefillKeepsItemOrderAndReplacesEveryRow) {
  p.desktop.Add(u"b", 0, 0);
  p.desktop.Add(u"C", 0, 75);
  p.desktop.Add(u"a", 0, 150);
  StartUp();
  view.rows = {u"stale row"};
  view.selected = 0;
  RefillIconList(table(), view);
  ASSERT_EQ(view.rows.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(view.rows[static_cast<size_t>(i)], IconRow(table(), i));
  EXPECT_EQ(view.selected, -1);
}

}  // namespace
}  // namespace norv
