#include "client/model/CaptureHistory.h"

#include <gtest/gtest.h>

namespace {

CNodeArray* ListOf(int stones) {
  auto* list = new CNodeArray;
  for (int i = 0; i < stones; ++i) list->Add(new CStoneNode(i + 1, 1, CStoneNode::kWhite | CStoneNode::kPresent, i + 1, 0));
  return list;
}

TEST(CaptureHistoryTest, KoPointsArePackedPerIndex) {
  CCaptureHistory history;
  history.AddCaptures(ListOf(1));
  history.SetKo(1, CCaptureHistory::PackPoint(19, 18));
  int x = 0, y = 0;
  history.GetKo(1, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(19, 18));
  EXPECT_TRUE(history.IsKo(1, 19, 18));
  EXPECT_FALSE(history.IsKo(1, 18, 19));
  history.SetKo(5, CCaptureHistory::PackPoint(1, 1));  // past the end: nothing
  EXPECT_FALSE(history.IsKo(5, 1, 1));
  history.GetKo(-1, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0));
}

TEST(CaptureHistoryTest, RemoveRangeActsOnlyOnAValidRange) {
  CCaptureHistory history;
  for (int i = 1; i <= 4; ++i) {
    history.AddCaptures(ListOf(i));
    history.SetKo(i, CCaptureHistory::PackPoint(i, i));
  }
  history.RemoveRange(0, 1);  // the placeholder stays
  history.RemoveRange(3, 3);  // runs past the end
  history.RemoveRange(2, 0);
  history.RemoveRange(5, 1);
  EXPECT_EQ(history.GetSize(), 5);
  history.RemoveRange(2, 2);
  ASSERT_EQ(history.GetSize(), 3);
  EXPECT_EQ(history.GetList(2)->GetSize(), 4);
  EXPECT_TRUE(history.IsKo(2, 4, 4));
  EXPECT_EQ(history.GetList(0), nullptr);
}

TEST(CaptureHistoryTest, ClearDropsEverythingIncludingThePlaceholder) {
  CCaptureHistory history;
  history.AddCaptures(ListOf(2));
  history.AddCaptures(nullptr);
  history.Clear();
  EXPECT_EQ(history.GetSize(), 0);
  EXPECT_FALSE(history.IsKo(0, 0, 0));
}

}  // namespace
