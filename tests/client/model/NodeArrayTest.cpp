#include "client/model/NodeArray.h"

#include <gtest/gtest.h>

namespace {

TEST(NodeArrayTest, DeleteAllFreesNodesAndEmpties) {
  CNodeArray nodes;
  nodes.AddNode(new CStoneNode(1, 1, CStoneNode::kBlack, 1, 0));
  nodes.Add(nullptr);
  nodes.AddNode(new CStoneNode(2, 2, CStoneNode::kWhite, 2, 0));
  EXPECT_EQ(nodes.GetNode(2)->GetX(), 2);
  EXPECT_EQ(nodes.GetNode(7), nullptr);
  nodes.DeleteAll();  // the leak checker catches a node left behind
  EXPECT_EQ(nodes.GetSize(), 0);
}

}  // namespace
