#include <gtest/gtest.h>

#include <vector>

#include "platform/collections.h"

namespace {

std::vector<int> Items(const CList<int, int>& list) {
  std::vector<int> out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos));
  return out;
}

std::vector<int> ItemsBackwards(const CList<int, int>& list) {
  std::vector<int> out;
  for (POSITION pos = list.GetTailPosition(); pos;) out.push_back(list.GetPrev(pos));
  return out;
}

TEST(CListOrder, HeadTailAndInsertions) {
  CList<int, int> list(10);
  list.AddTail(2);
  list.AddHead(1);
  POSITION three = list.AddTail(3);
  list.InsertBefore(three, 25);
  list.InsertAfter(three, 4);
  EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 25, 3, 4}));
  EXPECT_EQ(ItemsBackwards(list), (std::vector<int>{4, 3, 25, 2, 1}));
  EXPECT_EQ(list.GetHead(), 1);
  EXPECT_EQ(list.GetTail(), 4);
  EXPECT_EQ(list.GetCount(), 5);
}

TEST(CListOrder, NullPositionsInsertAtTheEnds) {
  CList<int, int> list;
  list.InsertBefore(nullptr, 2);
  list.InsertBefore(nullptr, 1);
  list.InsertAfter(nullptr, 3);
  EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 3}));
}

TEST(CListRemoval, RemoveHeadTailAndAt) {
  CList<int, int> list;
  for (int i = 1; i <= 4; ++i) list.AddTail(i);
  EXPECT_EQ(list.RemoveHead(), 1);
  EXPECT_EQ(list.RemoveTail(), 4);
  list.RemoveAt(list.Find(2));
  EXPECT_EQ(Items(list), (std::vector<int>{3}));
  list.RemoveAll();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

TEST(CListMisuse, EmptyListAndStalePositionsAreHarmless) {
  CList<int, int> list;
  EXPECT_EQ(list.RemoveHead(), 0);
  EXPECT_EQ(list.RemoveTail(), 0);
  EXPECT_EQ(list.GetHead(), 0);
  POSITION pos = list.AddTail(7);
  list.RemoveAt(pos);
  EXPECT_EQ(list.GetAt(pos), 0);  // stale: scratch value
  POSITION walk = pos;
  EXPECT_EQ(list.GetNext(walk), 0);
  EXPECT_EQ(walk, nullptr);
  list.SetAt(pos, 9);
  list.RemoveAt(pos);
  list.RemoveAt(nullptr);
  EXPECT_TRUE(list.IsEmpty());
}

TEST(CListSearch, FindAndFindIndex) {
  CStringList list;
  list.AddTail("a");
  list.AddTail("b");
  list.AddTail("a");
  POSITION first = list.Find("a");
  POSITION second = list.Find("a", first);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(list.Find("a", second), nullptr);
  EXPECT_EQ(list.Find("z"), nullptr);
  EXPECT_EQ(list.GetAt(list.FindIndex(1)), "b");
  EXPECT_EQ(list.FindIndex(3), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  list.SetAt(list.FindIndex(1), "B");
  EXPECT_EQ(list.GetAt(list.FindIndex(1)), "B");
}

TEST(CListCopying, AddListsKeepTheirOrderEvenOntoThemselves) {
  CList<int, int> list;
  list.AddTail(1);
  list.AddTail(2);
  CList<int, int> other;
  other.AddTail(8);
  other.AddTail(9);
  list.AddHead(&other);
  list.AddTail(&other);
  EXPECT_EQ(Items(list), (std::vector<int>{8, 9, 1, 2, 8, 9}));
  other.AddTail(&other);
  EXPECT_EQ(Items(other), (std::vector<int>{8, 9, 8, 9}));
}

TEST(CListIteration, RemovingTheElementJustPassedIsSafe) {
  CList<int, int> list;
  for (int i = 0; i < 6; ++i) list.AddTail(i);
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION current = pos;
    if (list.GetNext(pos) % 2 == 0) list.RemoveAt(current);
  }
  EXPECT_EQ(Items(list), (std::vector<int>{1, 3, 5}));
}

}  // namespace
