#include "orvanta/connection/FieldTokenizer.h"

#include <gtest/gtest.h>

namespace {

TEST(FieldTokenizerTest, NextFieldWalksThenWrapsToTheStart) {
  CFieldTokenizer t(CString("|a|b|c|"));
  EXPECT_EQ(t.NextField(), "a");
  EXPECT_EQ(t.NextField(), "b");
  EXPECT_EQ(t.NextField(), "c");
  EXPECT_EQ(t.NextField(), "");
  EXPECT_EQ(t.GetPosition(), 0);
  EXPECT_EQ(t.NextField(), "a");
}

TEST(FieldTokenizerTest, MissingLeadingSeparatorLosesTheFirstField) {
  CFieldTokenizer t(CString("a|b|"));
  EXPECT_EQ(t.NextField(), "");
  EXPECT_EQ(t.NextField(), "b");
  EXPECT_EQ(t.NextField(), "");
}

TEST(FieldTokenizerTest, GetFieldCountsFromTheStartAndResets) {
  CFieldTokenizer t(CString("|a||c|"));
  EXPECT_EQ(t.GetField(1), "");
  EXPECT_EQ(t.GetField(2), "c");
  EXPECT_EQ(t.GetField(0), "a");
  EXPECT_EQ(t.GetCount(), 3);
  EXPECT_EQ(t.GetField(-1), "");
  EXPECT_EQ(t.GetPosition(), 0);
}

TEST(FieldTokenizerTest, GetFieldPastTheEndWrapsAround) {
  CFieldTokenizer t(CString("|a|b|c|"));
  EXPECT_EQ(t.GetField(3), "");
  EXPECT_EQ(t.GetField(4), "a");
  EXPECT_EQ(t.GetField(5), "b");
}

TEST(FieldTokenizerTest, GetFieldAfterNextFieldCountsFromTheCurrentPosition) {
  CFieldTokenizer t(CString("|a|b|c|"));
  EXPECT_EQ(t.NextField(), "a");
  EXPECT_EQ(t.GetField(0), "b");
  EXPECT_EQ(t.GetPosition(), 0);
}

TEST(FieldTokenizerTest, CountIgnoresASeparatorAtIndexZero) {
  EXPECT_EQ(CFieldTokenizer(CString("")).GetCount(), 0);
  EXPECT_EQ(CFieldTokenizer(CString("|")).GetCount(), 0);
  EXPECT_EQ(CFieldTokenizer(CString("|a|b|c|")).GetCount(), 3);
  EXPECT_EQ(CFieldTokenizer(CString("/x/y/"), '/').GetCount(), 2);
}

TEST(FieldTokenizerTest, JoinFieldsPutsASeparatorInFrontOfEachField) {
  CFieldTokenizer t(CString("|a|b|c|"));
  EXPECT_EQ(t.JoinFields(1, 2), "|b|c");
  EXPECT_EQ(t.JoinFields(2, 1), "");
  CFieldTokenizer single(CString("|x|"));
  EXPECT_EQ(single.JoinFields(0, 0), "|x");
}

TEST(FieldTokenizerTest, GetRestTakesThePayloadAfterTheSixthSeparator) {
  EXPECT_EQ(CFieldTokenizer(CString("/1234/8/0/1/1/|OB_1.5|/"), '/').GetRest(), "|OB_1.5|");
  EXPECT_EQ(CFieldTokenizer(CString("/1/2/3/4/1/a/b/"), '/').GetRest(), "a/b");
  EXPECT_EQ(CFieldTokenizer(CString("/1/2/3/4/"), '/').GetRest(), "");
  // Six separators with nothing behind the last: the rest is empty, never a negative length.
  EXPECT_EQ(CFieldTokenizer(CString("/1/2/3/4/5/"), '/').GetRest(), "");
}

TEST(FieldTokenizerTest, CopyAndAssignmentKeepPositionAndSeparator) {
  CFieldTokenizer source(CString("/a/b/"), '/');
  EXPECT_EQ(source.NextField(), "a");
  CFieldTokenizer copy(source);
  EXPECT_EQ(copy.NextField(), "b");
  CFieldTokenizer assigned;
  assigned = source;
  EXPECT_EQ(assigned.GetSeparator(), '/');
  EXPECT_EQ(assigned.NextField(), "b");
}

TEST(FieldTokenizerTest, DoubleByteTextPassesThroughWhole) {
  CString name(Cp949("생중계"));
  CFieldTokenizer t(CString("|") + name + "|1|");
  EXPECT_EQ(t.GetField(0), name);
  EXPECT_EQ(t.GetField(1), "1");
}

}  // namespace
