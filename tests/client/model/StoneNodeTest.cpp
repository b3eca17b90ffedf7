#include "client/model/StoneNode.h"

#include <gtest/gtest.h>

#include <sstream>


namespace {

CString Formatted(const CStoneNode& node) {
  CString text;
  node.FormatMove(text);
  return text;
}

TEST(StoneNodeTest, CapturedCellKeepsItsColourButHoldsNoStone) {
  CStoneNode cell(3, 4, CStoneNode::kWhite | CStoneNode::kPresent, 9, 0);
  EXPECT_TRUE(cell.HasStone());
  cell.SetState(cell.GetState() | CStoneNode::kCaptured);
  EXPECT_FALSE(cell.HasStone());
  EXPECT_TRUE(cell.IsEmpty());
  EXPECT_EQ(cell.GetColor(), 1);
  cell.SetPresent(FALSE);
  EXPECT_EQ(cell.GetState(), CStoneNode::kWhite | CStoneNode::kCaptured);
}

TEST(StoneNodeTest, MarkNodesHaveNoColourAndFormatAsWhite) {
  const CStoneNode mark(5, 6, CStoneNode::kMarkE, 1, 0);
  EXPECT_TRUE(mark.IsMark());
  EXPECT_EQ(mark.GetMarkKind(), 2);
  EXPECT_FALSE(mark.IsBlack());
  EXPECT_EQ(mark.GetColor(), 0);
  EXPECT_STREQ(Formatted(mark), "W[ef]");
  EXPECT_FALSE(CStoneNode(1, 1, 0x30, 0, 0).IsMark());
  EXPECT_TRUE(CStoneNode(1, 1, CStoneNode::kMarkK, 0, 0).IsMark());
}

TEST(StoneNodeTest, FormatMoveWritesColourColumnAndRow) {
  EXPECT_STREQ(Formatted(CStoneNode(16, 4, CStoneNode::kBlack, 1, 0)), "B[pd]");
  EXPECT_STREQ(Formatted(CStoneNode(1, 19, CStoneNode::kWhite | CStoneNode::kPresent, 2, 0)), "W[as]");
  EXPECT_STREQ(Formatted(CStoneNode()), "W[``]");
}

TEST(StoneNodeTest, EqualityComparesAllFiveWordsAndCopyKeepsIdentity) {
  const CStoneNode a(2, 3, CStoneNode::kBlack, 4, 5);
  CStoneNode b(2, 3, CStoneNode::kBlack, 4, 6);
  EXPECT_NE(a, b);
  b.Copy(a);
  EXPECT_EQ(a, b);
  b.Clear();
  EXPECT_EQ(b, CStoneNode());
  const CStoneNode copy(a);
  EXPECT_EQ(copy.GetTime(), 5);
}

TEST(StoneNodeTest, DumpWritesPointSeqAndState) {
  std::ostringstream out;
  CStoneNode(3, 17, 0x102, 12, 0).Dump(out);
  EXPECT_EQ(out.str(), "(3, 17), \tSeq = 12, \tState = 258\n");
}

}  // namespace
