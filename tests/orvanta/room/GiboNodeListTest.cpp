#include "orvanta/room/GiboNodeList.h"

#include <string>

#include <gtest/gtest.h>

namespace {

CGiboNodeList::Node OnlyNode(const std::string& moves) {
  CGiboNodeList list;
  list.Assign(moves);
  EXPECT_EQ(1, list.GetCount()) << moves;
  return list.GetCount() == 1 ? list[0] : CGiboNodeList::Node{};
}

void ExpectSameMove(const CGiboNodeList::Node& a, const CGiboNodeList::Node& b, const std::string& what) {
  EXPECT_EQ(a.hasMove, b.hasMove) << what;
  EXPECT_EQ(a.color, b.color) << what;
  EXPECT_EQ(a.x, b.x) << what;
  EXPECT_EQ(a.y, b.y) << what;
  EXPECT_EQ(a.hasBlackTime, b.hasBlackTime) << what;
  EXPECT_EQ(a.hasWhiteTime, b.hasWhiteTime) << what;
  EXPECT_EQ(a.blackTime, b.blackTime) << what;
  EXPECT_EQ(a.whiteTime, b.whiteTime) << what;
}

}  // namespace

TEST(GiboNodeList, OurNodesReadAsTheSameNodesWrittenAnyOtherWay) {
  // The first form of each pair takes the short way through the node; the second cannot.
  const std::pair<const char*, const char*> pairs[] = {
      {";B[pd]BL[300]", "; B[pd] BL[300]"}, {";W[dp]WL[0]", ";WL[0]W[dp]"},
      {";B[tt]BL[5]", ";B [tt]BL[5]C[x]"},  {";W[ss]", ";W[ss]C[]"},
      {";B[zz]BL[1]", ";B[zz] BL[1]"},      {";B[pd]BL[2147483647]", ";B[pd]BL[ 2147483647]"},
      {";W[aa]WL[007]", ";W[aa]WL[007 ]"},
  };
  for (const auto& [plain, other] : pairs) ExpectSameMove(OnlyNode(plain), OnlyNode(other), plain);
}

TEST(GiboNodeList, NearMissesOfTheShortShapeAreStillRead) {
  CGiboNodeList::Node node = OnlyNode(";B[pd]WL[30]");  // a time of the other colour
  EXPECT_TRUE(node.hasMove);
  EXPECT_TRUE(node.hasWhiteTime);
  EXPECT_FALSE(node.hasBlackTime);
  node = OnlyNode(";B[pd]BL[-5]");
  EXPECT_EQ(-5, node.blackTime);
  node = OnlyNode(";B[pd]BL[1.5]");
  EXPECT_EQ(1, node.blackTime);
  node = OnlyNode(";W[pd]WL[]");
  EXPECT_TRUE(node.hasWhiteTime);
  EXPECT_EQ(0, node.whiteTime);
}

TEST(GiboNodeList, NodesSplitOnlyAtSemicolonsOutsideValues) {
  CGiboNodeList list;
  std::string moves = ";B[aa]C[a;b\\];c];W[bb]";
  list.Assign(moves);
  ASSERT_EQ(2, list.GetCount());
  EXPECT_EQ("W[bb]", moves.substr(list[1].begin, list[1].end - list[1].begin));
  // Text before the first ";" is a node when it holds anything but blanks.
  list.Assign("B[cc];W[dd]");
  ASSERT_EQ(2, list.GetCount());
  EXPECT_EQ(2, list[0].x);
  list.Assign(" \t;W[dd]");
  EXPECT_EQ(1, list.GetCount());
  list.Assign(";;");
  EXPECT_EQ(2, list.GetCount());
}

TEST(GiboNodeList, AppendAndRemoveKeepTheRunningTimes) {
  CGiboNodeList list;
  std::string moves = ";B[aa]BL[50];W[bb]WL[40]";
  list.Assign(moves);
  std::size_t old = moves.size();
  moves += ";B[cc]";
  list.Append(moves, old);
  ASSERT_EQ(3, list.GetCount());
  EXPECT_TRUE(list.Last().blackKnown);
  EXPECT_EQ(50, list.Last().lastBlackTime);
  EXPECT_EQ(40, list.Last().lastWhiteTime);
  EXPECT_EQ(static_cast<int>(old), list.RemoveLast());
  EXPECT_EQ(static_cast<int>(old) - 12, list.RemoveLast());
  EXPECT_EQ(0, list.RemoveLast());
  EXPECT_EQ(-1, list.RemoveLast());
}
