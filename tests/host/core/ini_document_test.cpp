#include "core/ini_document.h"

#include <gtest/gtest.h>

namespace norv {
namespace {

TEST(IniDocumentTest, NamesMatchWithoutRegardToCaseAndValuesAreTrimmed) {
  const IniDocument ini(
      u"top=0\r\n"
      u"[Other]\r\n"
      u"key=other\r\n"
      u"[ section ]\r\n"
      u"; key=comment\r\n"
      u"  KEY  =  spaced value  \r\n"
      u"blank= \r\n"
      u"quoted=\" 1 \"\r\n"
      u"single='x'\r\n"
      u"half=\"x\r\n");
  EXPECT_EQ(ini.Get(u"SECTION", u"key"), u"spaced value");
  EXPECT_EQ(ini.Get(u"Section", u"blank"), u"");
  EXPECT_EQ(ini.Get(u"Section", u"quoted"), u" 1 ");
  EXPECT_EQ(ini.Get(u"Section", u"single"), u"x");
  EXPECT_EQ(ini.Get(u"Section", u"half"), u"\"x");
  EXPECT_EQ(ini.Get(u"Section", u"top"), std::nullopt);
  EXPECT_EQ(ini.Get(u"Other", u"KEY"), u"other");
  EXPECT_EQ(ini.Get(u"Missing", u"key"), std::nullopt);
  EXPECT_EQ(IniDocument().Get(u"Section", u"key"), std::nullopt);
}

TEST(IniDocumentTest, WritingCreatesWhatIsMissingAndKeepsEveryOtherLine) {
  IniDocument ini;
  ini.Set(u"Section", u"ReCover_0", u" 1");
  EXPECT_EQ(ini.Text(), u"[Section]\r\nReCover_0= 1\r\n");

  ini = IniDocument(
      u"; comment\n"
      u"[SECTION]\n"
      u"recover_0=5\n"
      u"\n"
      u"[Next]\n"
      u"ReCover_1=7\n");
  ini.Set(u"Section", u"ReCover_0", u" 0");
  ini.Set(u"Section", u"ReCover_1", u" 1");
  EXPECT_EQ(ini.Text(),
            u"; comment\r\n"
            u"[SECTION]\r\n"
            u"ReCover_0= 0\r\n"
            u"ReCover_1= 1\r\n"
            u"\r\n"
            u"[Next]\r\n"
            u"ReCover_1=7\r\n");
  EXPECT_EQ(ini.Get(u"Section", u"ReCover_1"), u"1");
  EXPECT_EQ(ini.Get(u"Next", u"ReCover_1"), u"7");
}

TEST(IniDocumentTest, AnEmptySectionGetsItsFirstKeyRightBelowItsHeader) {
  IniDocument ini(u"[Section]\r\n[Next]\r\nk=1");
  ini.Set(u"section", u"k", u"2");
  EXPECT_EQ(ini.Text(), u"[Section]\r\nk=2\r\n[Next]\r\nk=1\r\n");
}

}  // namespace
}  // namespace norv
