#include <gtest/gtest.h>

#include <cstring>

#include "platform/strings.h"

namespace {

TEST(Encoding, Cp949LiteralHasTheCodePageBytes) {
  const char* text = Cp949("생중계");
  ASSERT_EQ(std::strlen(text), 6u);
  const unsigned char expected[] = {0xBB, 0xFD, 0xC1, 0xDF, 0xB0, 0xE8};
  EXPECT_EQ(std::memcmp(text, expected, 6), 0);
  EXPECT_EQ(Cp949ToUtf8(text), "생중계");
}

TEST(Encoding, Cp949LiteralIsConvertedOnce) {
  EXPECT_EQ(Cp949("바둑"), Cp949("바둑"));  // the same kept bytes
  EXPECT_STREQ(Cp949(""), "");
  EXPECT_STREQ(Cp949(nullptr), "");
}

TEST(Encoding, AsciiPassesThroughUnchanged) {
  EXPECT_EQ(Utf8ToCp949("abc 123|"), "abc 123|");
  EXPECT_EQ(Cp949ToUtf8("abc 123|"), "abc 123|");
}

TEST(Encoding, Utf16RoundTrips) {
  std::u16string wide = Cp949ToUtf16(Cp949("생중계 A"));
  EXPECT_EQ(wide, u"생중계 A");
  EXPECT_EQ(Utf16ToCp949(wide), Cp949("생중계 A"));
  EXPECT_EQ(Utf16ToUtf8(u"바둑"), "바둑");
  EXPECT_EQ(Utf8ToUtf16("바둑"), u"바둑");
  EXPECT_EQ(Utf8ToUtf16(""), u"");
}

TEST(Encoding, AnUnconvertibleCharacterBecomesOneQuestionMark) {
  EXPECT_EQ(Utf8ToCp949("a😀b"), "a?b");     // four UTF-8 bytes, one character
  EXPECT_EQ(Utf16ToCp949(u"a😀b"), "a??b");  // a surrogate pair is two code units
  EXPECT_EQ(Utf8ToCp949("a\xFF"
                        "b"),
            "a?b");
  EXPECT_EQ(Cp949ToUtf8("a\xFF"), "a?");
}

TEST(Encoding, TruncatedInputEndsWithAQuestionMark) {
  std::string cut(Cp949("생"), 1);  // lead byte only
  EXPECT_EQ(Cp949ToUtf8("x" + cut), "x?");
  EXPECT_EQ(Utf8ToCp949("x\xEC\x83"), "x?");
}

TEST(Encoding, LeadAndTrailByteClassification) {
  EXPECT_TRUE(IsCp949LeadByte(0xBB));
  EXPECT_FALSE(IsCp949LeadByte('a'));
  EXPECT_TRUE(IsCp949TrailByte('a'));
  EXPECT_FALSE(IsCp949TrailByte('|'));
  EXPECT_FALSE(IsCp949TrailByte('\\'));
  EXPECT_EQ(Cp949CharLength(Cp949("생a"), 0), 2);
  EXPECT_EQ(Cp949CharLength("\xBB|", 0), 1);  // a separator is never a trail byte
  EXPECT_EQ(Cp949CharLength("\xBB", 0), 1);
}

}  // namespace
