#include "client/model/CommentMap.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

TEST(CommentMapTest, DisplayAndRawFormsKeepTheOrderOfTexts) {
  CCommentMap comments;
  EXPECT_EQ(comments.AddComment(7, "a"), 1);
  EXPECT_EQ(comments.AddComment(7, "b"), 1);
  CString text;
  comments.GetCommentText(7, text);
  EXPECT_STREQ(text, "[007] a\r\n[007] b\r\n");
  EXPECT_EQ(comments.GetRawText(7, text), 2);
  EXPECT_STREQ(text, "a\r\nb\r\n");
  comments.GetAt(text, 7, 1);
  EXPECT_STREQ(text, "b");
  EXPECT_TRUE(comments.HasComments(7));
}

TEST(CommentMapTest, MoveNumbersUseAtLeastThreeDigits) {
  CCommentMap comments;
  comments.AddComment(1234, "x");
  comments.AddComment(0, "before the first move");
  CString text;
  comments.GetCommentText(1234, text);
  EXPECT_STREQ(text, "[1234] x\r\n");
  comments.GetCommentText(0, text);
  EXPECT_STREQ(text, "[000] before the first move\r\n");
}

TEST(CommentMapTest, MovesWithoutTextsGiveEmptyForms) {
  CCommentMap comments;
  comments.AddComment(3, "x");
  CString text("stale");
  comments.GetCommentText(4, text);
  EXPECT_TRUE(text.IsEmpty());
  text = "stale";
  EXPECT_EQ(comments.GetRawText(4, text), 0);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(comments.GetCount(4), 0);
  EXPECT_EQ(comments.GetList(4), nullptr);
  text = "stale";
  comments.GetAt(text, 3, 1);
  EXPECT_TRUE(text.IsEmpty());
  comments.GetAt(text, 3, -1);
  EXPECT_TRUE(text.IsEmpty());
}

TEST(CommentMapTest, TextsWithAnyBytesAreKeptWhole) {
  CCommentMap comments;
  const CString withZero(std::string_view("a\0b", 3));
  comments.AddComment(2, withZero);
  comments.AddComment(2, Cp949("좋은 수"));
  CString text;
  comments.GetCommentText(2, text);
  EXPECT_EQ(text, CString(std::string_view("[002] a\0b\r\n", 11)) + "[002] " + Cp949("좋은 수") + "\r\n");
}

// Asked for at most a number of bytes: the newest whole lines that fit; a newest text longer than
// that alone shows its start, never half a Korean character, and the raw form stays whole.
TEST(CommentMapTest, ABoundedDisplayFormKeepsTheNewestLinesOrTheStartOfAHugeText) {
  CCommentMap comments;
  comments.AddComment(5, "first");
  comments.AddComment(5, "second");
  comments.AddComment(5, "third");
  CString text;
  comments.GetCommentText(5, text, 27);  // lines of 14 and 13 bytes
  EXPECT_STREQ(text, "[005] second\r\n[005] third\r\n");
  comments.GetCommentText(5, text, 26);
  EXPECT_STREQ(text, "[005] third\r\n");

  const CString huge = CString("ab") + Cp949("한글") + CString(std::string(100000, 'x'));
  comments.AddComment(6, huge);
  for (const int limit : {12, 13, 14, 15}) {
    comments.GetCommentText(6, text, limit);
    EXPECT_LE(text.GetLength(), limit) << limit;
    EXPECT_EQ(text.Left(6), CString("[006] ")) << limit;
    EXPECT_EQ(text.Right(5), CString("...\r\n")) << limit;
  }
  comments.GetCommentText(6, text, 14);
  EXPECT_EQ(text, CString("[006] ab...\r\n"));  // room for half the first Korean character: none of it
  comments.GetCommentText(6, text, 15);
  EXPECT_EQ(text, CString("[006] ab") + CString(Cp949("한")) + "...\r\n");
  EXPECT_EQ(comments.GetRawText(6, text), 1);
  EXPECT_EQ(text, huge + "\r\n");
}

TEST(CommentMapTest, RemoveAllEmptiesEveryMove) {
  CCommentMap comments;
  for (int move = 0; move < 5; ++move) comments.AddComment(move, "x");
  comments.RemoveAll();
  for (int move = 0; move < 5; ++move) EXPECT_EQ(comments.GetCount(move), 0);
  comments.AddComment(1, "again");
  EXPECT_EQ(comments.GetCount(1), 1);
}

}  // namespace
