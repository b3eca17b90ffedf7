#include "client/model/RecordValue.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

CString Unescape(const char* text) { return CRecordValue::Unescape(text, static_cast<int>(std::strlen(text))); }

TEST(RecordValueTest, EscapeAndUnescapeAreInverse) {
  for (const char* text : {"", "plain", "]", "\\", "a\\]b", "\\\\]]", "x\\y", "\\\\\\"}) {
    const CString escaped = CRecordValue::Escape(text);
    EXPECT_EQ(Unescape(escaped), CString(text)) << text;
    // The escaped value has no closing bracket of its own.
    for (int i = 0; i < escaped.GetLength(); ++i)
      if (escaped[i] == ']') {
        EXPECT_FALSE(CRecordValue::IsClosingBracket(escaped, 0, i)) << text;
      }
  }
  EXPECT_STREQ(CRecordValue::Escape("a]b\\c"), "a\\]b\\\\c");
}

TEST(RecordValueTest, ClosingBracketNeedsAnEvenRunOfBackslashes) {
  const char* text = "a\\]b\\\\]";
  EXPECT_FALSE(CRecordValue::IsClosingBracket(text, 0, 2));
  EXPECT_TRUE(CRecordValue::IsClosingBracket(text, 0, 6));
  EXPECT_TRUE(CRecordValue::IsClosingBracket("\\]", 1, 1));  // counts no further back than start
}

TEST(RecordValueTest, ParseIntReadsLeadingDigitsAndClamps) {
  EXPECT_EQ(CRecordValue::ParseInt("  42abc"), 42);
  EXPECT_EQ(CRecordValue::ParseInt("-7"), -7);
  EXPECT_EQ(CRecordValue::ParseInt("+0000000123"), 123);
  EXPECT_EQ(CRecordValue::ParseInt("x1"), 0);
  EXPECT_EQ(CRecordValue::ParseInt(""), 0);
  EXPECT_EQ(CRecordValue::ParseInt("99999999999999999999999"), 2147483647);
  EXPECT_EQ(CRecordValue::ParseInt("-99999999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(CRecordValue::ParseInt("-2147483648"), -2147483647 - 1);
}

}  // namespace
