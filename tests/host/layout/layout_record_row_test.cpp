#include "layout/layout_record_row.h"

#include <gtest/gtest.h>

#include "core/icon_table.h"

namespace norv {
namespace {

TEST(LayoutRecordRowTest, ShownRecordsShowTheirNumbersHiddenOnesSayHidden) {
  const DesktopRect desktop{1024, 768};
  const std::u16string text = PadIconText(u"ごみ箱");
  EXPECT_EQ(LayoutRecordRow({text, 10, 20}, desktop), u" 10\t 20\t" + text);
  EXPECT_EQ(LayoutRecordRow({text, -5, 0}, desktop), u"-5\t 0\t" + text);
  EXPECT_EQ(LayoutRecordRow({text, 1024, 768}, desktop), u" 1024\t 768\t" + text);
  EXPECT_EQ(LayoutRecordRow({text, 1074, 818}, desktop), u"非表示\t\t" + text);
  EXPECT_EQ(LayoutRecordRow({text, 0, 769}, desktop), u"非表示\t\t" + text);
  EXPECT_EQ(LayoutRecordRow({text, -32768, -32768}, {-32768, -32768}), u"-32768\t-32768\t" + text);
}

}  // namespace
}  // namespace norv
