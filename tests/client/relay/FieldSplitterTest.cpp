#include "client/relay/FieldSplitter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Field(const CFieldSplitter& s, int i) {
  const char* f = s.GetField(i);
  return f ? std::string(f) : std::string("<null>");
}

TEST(FieldSplitterTest, SplitsAtTheSeparatorAndDropsOnlyATrailingEmptyField) {
  CFieldSplitter s;
  EXPECT_EQ(s.Split("ua|ok", '|'), 2);
  EXPECT_EQ(Field(s, 0), "ua");
  EXPECT_EQ(Field(s, 1), "ok");

  EXPECT_EQ(s.Split("ua", '|'), 1);
  EXPECT_EQ(s.Split("ua|", '|'), 1);
  EXPECT_EQ(s.Split("a||b", '|'), 3);
  EXPECT_EQ(Field(s, 1), "");
  EXPECT_EQ(s.Split("|a", '|'), 2);
  EXPECT_EQ(Field(s, 0), "");
  EXPECT_EQ(s.Split("a|b|", '|'), 2);
  EXPECT_EQ(s.Split("||", '|'), 2);
  EXPECT_EQ(Field(s, 0), "");
  EXPECT_EQ(Field(s, 1), "");
}

TEST(FieldSplitterTest, EmptyTextIsRefusedAndLeavesTheSplitterEmpty) {
  CFieldSplitter s;
  ASSERT_EQ(s.Split("a|b", '|'), 2);
  EXPECT_EQ(s.Split("", '|'), -1);
  EXPECT_EQ(s.GetCount(), 0);
  EXPECT_EQ(s.GetField(0), nullptr);
  EXPECT_EQ(s.Split(nullptr, '|'), -1);
}

TEST(FieldSplitterTest, GetFieldOutsideTheCountIsNull) {
  CFieldSplitter s;
  s.Split("a|b", '|');
  EXPECT_EQ(s.GetField(2), nullptr);
  EXPECT_EQ(s.GetField(-1), nullptr);
}

TEST(FieldSplitterTest, TheTextItselfIsNotChanged) {
  char text[] = "key=value";
  CFieldSplitter s;
  EXPECT_EQ(s.Split(text, '='), 2);
  EXPECT_STREQ(text, "key=value");
}

TEST(FieldSplitterTest, MoreThanAHundredFieldsAreCountedButNeverStoredPastTheTable) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "f" + std::to_string(i) + "|";
  CFieldSplitter s;
  EXPECT_EQ(s.Split(text.c_str(), '|'), 150);
  EXPECT_EQ(Field(s, 99), "f99");
  EXPECT_EQ(s.GetField(100), nullptr);
  EXPECT_EQ(s.GetField(149), nullptr);
}

TEST(FieldSplitterTest, SplittingIsByteWiseEvenInsideDoubleByteCharacters) {
  // 0xB1 0x7C is one double-byte character whose second byte equals the separator.
  const char text[] = {'a', '|', static_cast<char>(0xB1), '|', 'b', '\0'};
  CFieldSplitter s;
  EXPECT_EQ(s.Split(text, '|'), 3);
  EXPECT_EQ(Field(s, 1), std::string(1, static_cast<char>(0xB1)));
}

}  // namespace
