#include "client/model/RefDiagramMap.h"

#include <gtest/gtest.h>

namespace {

TEST(RefDiagramMapTest, StonesOfAnotherMoveAreRefusedWhileADiagramIsOpen) {
  CRefDiagramMap diagrams;
  EXPECT_TRUE(diagrams.IsOpenFor(12));
  EXPECT_EQ(diagrams.AddDiagramMove(10, 4, 4, CStoneNode::kBlack, 1), 1);
  EXPECT_TRUE(diagrams.IsOpenFor(10));
  EXPECT_FALSE(diagrams.IsOpenFor(12));
  EXPECT_EQ(diagrams.AddDiagramMove(12, 5, 5, CStoneNode::kWhite, 2), 0);
  EXPECT_EQ(diagrams.AddDiagramText(12, "x"), 0);
  ASSERT_NE(diagrams.GetOpenDiagram(), nullptr);
  EXPECT_EQ(diagrams.GetOpenDiagram()->Stones.GetSize(), 1);
  EXPECT_EQ(diagrams.GetOpenDiagram()->Texts.GetSize(), 0);
}

TEST(RefDiagramMapTest, ClosingFilesDiagramsInOrder) {
  CRefDiagramMap diagrams;
  diagrams.AddDiagramMove(10, 4, 4, CStoneNode::kBlack, 1);
  EXPECT_EQ(diagrams.CloseDiagram(10, 9), 0);
  EXPECT_EQ(diagrams.GetOpenDiagram(), nullptr);
  diagrams.AddDiagramText(10, "second");
  EXPECT_EQ(diagrams.CloseDiagram(10, 11), 1);
  EXPECT_EQ(diagrams.GetDiagramCount(10), 2);
  EXPECT_EQ(diagrams.GetDiagramBase(10, 0), 9);
  EXPECT_EQ(diagrams.GetDiagramBase(10, 1), 11);
  EXPECT_EQ(diagrams.GetDiagramBase(10, 2), 0);
  ASSERT_NE(diagrams.GetDiagramMoves(10, 0), nullptr);
  EXPECT_EQ(*diagrams.GetDiagramMoves(10, 0)->GetNode(0), CStoneNode(4, 4, CStoneNode::kBlack, 1, 0));
  EXPECT_EQ(diagrams.GetDiagramMoves(10, 2), nullptr);
  EXPECT_EQ(diagrams.GetDiagramMoves(11, 0), nullptr);
  CString text;
  EXPECT_EQ(diagrams.GetDiagramText(10, 1, text), 1);
  EXPECT_STREQ(text, "second\r\n");
  EXPECT_EQ(diagrams.GetDiagramText(10, 5, text), 0);
  EXPECT_TRUE(text.IsEmpty());
}

TEST(RefDiagramMapTest, ClosingWithNothingOpenFilesNothing) {
  CRefDiagramMap diagrams;
  EXPECT_EQ(diagrams.CloseDiagram(3, 2), -1);
  EXPECT_FALSE(diagrams.HasDiagrams(3));
  EXPECT_EQ(diagrams.GetCount(), 0);
}

TEST(RefDiagramMapTest, WriteDiagramNamesItAndWritesStonesAndTexts) {
  CRefDiagramMap diagrams;
  diagrams.AddDiagramMove(10, 1, 1, CStoneNode::kBlack, 1);
  diagrams.CloseDiagram(10, 1);
  diagrams.AddDiagramMove(10, 16, 4, CStoneNode::kBlack, 1);
  diagrams.AddDiagramMove(10, 4, 16, CStoneNode::kWhite, 2);
  diagrams.AddDiagramMove(10, 5, 5, CStoneNode::kMarkK, 3);
  diagrams.AddDiagramText(10, "a");
  diagrams.AddDiagramText(10, "b");
  diagrams.CloseDiagram(10, 3);
  CString out;
  diagrams.WriteDiagram(10, 1, ";B[aa];W[bb]", out);
  const CString expected = CString("\r\n\r\n(RN[") + Cp949("10번 착수의 2번참고도") +
                           "]PT[3];B[aa];W[bb];B[pd];W[dp];K[ee]C[a\r\nb\r\n])";
  EXPECT_EQ(out, expected);
  diagrams.WriteDiagram(10, 0, "", out);
  EXPECT_EQ(out, CString("\r\n\r\n(RN[") + Cp949("10번 착수의 1번참고도") + "]PT[1];B[aa])");
  diagrams.WriteDiagram(10, 2, "", out);
  EXPECT_TRUE(out.IsEmpty());
}

TEST(RefDiagramMapTest, WriteDiagramEscapesItsTexts) {
  CRefDiagramMap diagrams;
  diagrams.AddDiagramText(4, "a]b\\c");
  diagrams.CloseDiagram(4, 4);
  CString out;
  diagrams.WriteDiagram(4, 0, "", out);
  EXPECT_EQ(out, CString("\r\n\r\n(RN[") + Cp949("4번 착수의 1번참고도") + "]PT[4]C[a\\]b\\\\c\r\n])");
}

TEST(RefDiagramMapTest, RemovingDiagrams) {
  CRefDiagramMap diagrams;
  diagrams.AddDiagramMove(10, 1, 1, CStoneNode::kBlack, 1);
  diagrams.CloseDiagram(10, 1);
  diagrams.RemoveDiagram(10, 5);  // a single diagram goes whatever the index
  EXPECT_FALSE(diagrams.HasDiagrams(10));
  EXPECT_EQ(diagrams.GetCount(), 0);

  for (int base = 1; base <= 3; ++base) {
    diagrams.AddDiagramMove(10, base, base, CStoneNode::kBlack, 1);
    diagrams.CloseDiagram(10, base);
  }
  diagrams.RemoveDiagram(10, 7);  // out of range with several: nothing
  EXPECT_EQ(diagrams.GetDiagramCount(10), 3);
  diagrams.RemoveDiagram(10, 1);
  EXPECT_EQ(diagrams.GetDiagramCount(10), 2);
  EXPECT_EQ(diagrams.GetDiagramBase(10, 1), 3);
  diagrams.RemoveDiagrams(10);
  EXPECT_EQ(diagrams.GetDiagramCount(10), 0);
  diagrams.RemoveDiagrams(10);

  diagrams.AddDiagramMove(2, 1, 1, CStoneNode::kBlack, 1);
  diagrams.CloseDiagram(2, 1);
  diagrams.AddDiagramMove(3, 1, 1, CStoneNode::kBlack, 1);  // left open
  diagrams.RemoveAll();
  EXPECT_EQ(diagrams.GetCount(), 0);
  EXPECT_EQ(diagrams.GetOpenDiagram(), nullptr);
  EXPECT_TRUE(diagrams.IsOpenFor(99));
}

}  // namespace
