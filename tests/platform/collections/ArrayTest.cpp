#include <gtest/gtest.h>

#include "platform/collections.h"

namespace {

class Stone : public CObject {
public:
  explicit Stone(int id) : m_id(id) {}
  int m_id{0};
};

TEST(CArrayAccess, OutOfRangeReadsGiveDefaultsAndWritesAreIgnored) {
  CWordArray a;
  a.Add(5);
  EXPECT_EQ(a.GetAt(-1), 0);
  EXPECT_EQ(a.GetAt(1), 0);
  a.SetAt(3, 9);
  a.SetAt(-1, 9);
  EXPECT_EQ(a.GetSize(), 1);
  a.ElementAt(7) = 42;  // scratch, not the array
  EXPECT_EQ(a.GetSize(), 1);
  EXPECT_EQ(a[0], 5);
  EXPECT_EQ(a.ElementAt(7), 0);  // scratch is reset on every use
  const CWordArray& constant = a;
  EXPECT_EQ(constant[9], 0);
}

TEST(CArrayGrowth, SetSizeGrowsWithDefaultsAndCuts) {
  CStringArray a;
  a.SetSize(3);
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a.GetUpperBound(), 2);
  EXPECT_TRUE(a[2].IsEmpty());
  a[1] = "b";
  a.SetSize(2, 10);
  EXPECT_EQ(a.GetSize(), 2);
  EXPECT_EQ(a[1], "b");
  a.SetSize(-4);
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.GetUpperBound(), -1);
}

TEST(CArrayGrowth, SetAtGrowFillsTheGap) {
  CDWordArray a;
  a.SetAtGrow(3, 7);
  ASSERT_EQ(a.GetSize(), 4);
  EXPECT_EQ(a[0], 0u);
  EXPECT_EQ(a[3], 7u);
  a.SetAtGrow(-1, 1);
  EXPECT_EQ(a.GetSize(), 4);
}

TEST(CArrayEditing, InsertAtInsideAtTheEndAndBeyond) {
  CUIntArray a;
  a.Add(1);
  a.Add(4);
  a.InsertAt(1, 2, 2);
  EXPECT_EQ(a.GetSize(), 4);
  EXPECT_EQ(a[1], 2u);
  EXPECT_EQ(a[2], 2u);
  a.InsertAt(6, 9);  // past the end: grows to the index first
  ASSERT_EQ(a.GetSize(), 7);
  EXPECT_EQ(a[4], 0u);
  EXPECT_EQ(a[6], 9u);
  a.InsertAt(-1, 3);
  a.InsertAt(0, 3, 0);
  EXPECT_EQ(a.GetSize(), 7);
}

TEST(CArrayEditing, RemoveAtClampsTheRange) {
  CByteArray a;
  for (BYTE b = 0; b < 5; ++b) a.Add(b);
  a.RemoveAt(3, 100);
  EXPECT_EQ(a.GetSize(), 3);
  a.RemoveAt(-1);
  a.RemoveAt(3);
  a.RemoveAt(0, 0);
  EXPECT_EQ(a.GetSize(), 3);
  a.RemoveAt(0);
  EXPECT_EQ(a[0], 1);
}

TEST(CArrayEditing, AddOfAnOwnElementSurvivesReallocation) {
  CStringArray a;
  a.Add("first");
  for (int i = 0; i < 100; ++i) a.Add(a[0]);
  EXPECT_EQ(a[100], "first");
  a.InsertAt(0, a[50], 3);
  EXPECT_EQ(a[2], "first");
}

TEST(CArrayCopying, AppendCopyAndInsertArrayIncludingSelf) {
  CWordArray a;
  a.Add(1);
  a.Add(2);
  EXPECT_EQ(a.Append(a), 2);
  EXPECT_EQ(a.GetSize(), 4);
  EXPECT_EQ(a[3], 2);
  CWordArray b;
  b.Copy(a);
  b.Copy(b);
  EXPECT_EQ(b.GetSize(), 4);
  b.InsertAt(1, &b);
  EXPECT_EQ(b.GetSize(), 8);
  EXPECT_EQ(b[1], 1);
  b.InsertAt(100, &a);  // clamped to the end
  EXPECT_EQ(b.GetSize(), 12);
  b.InsertAt(0, static_cast<const CWordArray*>(nullptr));
  EXPECT_EQ(b.GetSize(), 12);
}

TEST(CArrayPointers, ObjectArrayNeverDeletesItsElements) {
  Stone stone(3);
  {
    CObArray a;
    a.Add(&stone);
    a.Add(nullptr);
    EXPECT_EQ(static_cast<Stone*>(a[0])->m_id, 3);
    EXPECT_EQ(a.GetAt(5), nullptr);
  }
  EXPECT_EQ(stone.m_id, 3);
  CPtrArray p;
  p.Add(&stone);
  EXPECT_EQ(p.GetAt(0), &stone);
}

TEST(CArrayGrowth, ImpossibleSizeThrowsTheMemoryException) {
  CStringArray a;
  bool thrown = false;
  try {
    a.SetSize(static_cast<INT_PTR>(1) << 62);
  } catch (CMemoryException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
  EXPECT_TRUE(a.IsEmpty());
}

}  // namespace
