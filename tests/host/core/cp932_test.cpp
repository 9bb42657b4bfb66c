#include "core/cp932.h"

#include <gtest/gtest.h>

namespace norv {
namespace {

#ifdef _WIN32
constexpr char16_t kReplacement = u'\u30FB';  // the system's default character for cp932
#else
constexpr char16_t kReplacement = u'\uFFFD';
#endif

TEST(Cp932Test, JapaneseTextConvertsBothWays) {
  const std::string kanji = "\x82\xB2\x82\xDD\x94\xA0";  // ごみ箱
  EXPECT_EQ(EncodeCp932(u"ごみ箱"), kanji);
  EXPECT_EQ(DecodeCp932(kanji), u"ごみ箱");
  EXPECT_EQ(EncodeCp932(u"ｱｲｺﾝ"), "\xB1\xB2\xBA\xDD");
  EXPECT_EQ(DecodeCp932("\xB1\xB2\xBA\xDD"), u"ｱｲｺﾝ");
  EXPECT_EQ(DecodeCp932(EncodeCp932(u"マイ コンピュータ～①")), u"マイ コンピュータ～①");

  std::string ascii;
  std::u16string asciiText;
  for (int c = 1; c < 0x80; ++c) {
    ascii.push_back(static_cast<char>(c));
    asciiText.push_back(static_cast<char16_t>(c));
  }
  EXPECT_EQ(DecodeCp932(ascii), asciiText);
  EXPECT_EQ(EncodeCp932(asciiText), ascii);
  EXPECT_EQ(DecodeCp932(std::string(3, '\0')), std::u16string(3, u'\0'));
}

TEST(Cp932Test, WhatCannotBeConvertedIsReplacedNotDropped) {
  // Each UTF-16 unit without a cp932 form becomes one '?', and what follows is kept.
  EXPECT_EQ(EncodeCp932(u"a\U0001F600b"), "a??b");
  EXPECT_EQ(EncodeCp932(std::u16string{u'\xD800', u'A'}), "?A");
  EXPECT_EQ(EncodeCp932(std::u16string{u'A', u'\xDC00'}), "A?");
  EXPECT_EQ(EncodeCp932(u"한"), "?");

  const std::u16string lone = DecodeCp932("a\x82");
  EXPECT_EQ(lone, (std::u16string{u'a', kReplacement}));
  const std::u16string badPair = DecodeCp932(
      "\x81\x7F"
      "b");
  EXPECT_EQ(badPair.back(), u'b');
  EXPECT_NE(badPair.find(kReplacement), std::u16string::npos);
}

TEST(Cp932Test, CutsNeverEndInsideADoubleByteCharacter) {
  const std::string twenty = EncodeCp932(u"あいうえおかきくけこさしすせそたちつてと");
  ASSERT_EQ(twenty.size(), 40u);
  EXPECT_EQ(CutCp932(twenty, 39), twenty.substr(0, 38));
  EXPECT_EQ(CutCp932("a" + twenty, 39), "a" + twenty.substr(0, 38));
  const std::string katakana(45, '\xB1');  // half-width: single bytes
  EXPECT_EQ(CutCp932(katakana, 39).size(), 39u);
  // A lead byte with nothing after it is not a character.
  EXPECT_EQ(CutCp932("ab\x82", 39), "ab");
  EXPECT_EQ(CutCp932("", 39), "");
  EXPECT_EQ(CutCp932(twenty, 0), "");
}

}  // namespace
}  // namespace norv
