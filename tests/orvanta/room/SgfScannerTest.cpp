#include "orvanta/room/SgfScanner.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

TEST(SgfScanner, PropertiesWithSeveralValuesEscapesAndBlanks) {
  CSgfScanner scanner("GM[1] AB [aa][bb]\n [cc]C[a \\] b;c]xx LB[]");
  std::vector<std::string> names, wholes, values;
  CSgfScanner::Property property;
  while (scanner.NextProperty(property)) {
    names.emplace_back(property.name);
    wholes.emplace_back(property.whole);
    values.emplace_back(property.value);
    EXPECT_TRUE(property.closed);
  }
  EXPECT_EQ((std::vector<std::string>{"GM", "AB", "C", "LB"}), names);
  EXPECT_EQ("AB [aa][bb]\n [cc]", wholes[1]);
  EXPECT_EQ("aa", values[1]);
  EXPECT_EQ("a \\] b;c", values[2]);
  EXPECT_EQ("", values[3]);
}

TEST(SgfScanner, OpenValuesRunToTheEndAndAreMarked) {
  CSgfScanner::Property property;
  ASSERT_TRUE(CSgfScanner::FindProperty("KM[6.5]HA[2", "HA", property));
  EXPECT_FALSE(property.closed);
  EXPECT_EQ("2", property.value);
  // An escape as the very last character neither closes the value nor reads past the text.
  ASSERT_TRUE(CSgfScanner::FindProperty("C[abc\\", "C", property));
  EXPECT_FALSE(property.closed);
  ASSERT_TRUE(CSgfScanner::FindProperty("C[abc\\]", "C", property));
  EXPECT_FALSE(property.closed);
  EXPECT_FALSE(CSgfScanner::FindProperty("C[HA[1]", "HA", property));
  EXPECT_FALSE(CSgfScanner::FindProperty("HA", "HA", property));
}

TEST(SgfScanner, NodeStartsOutsideValues) {
  EXPECT_EQ(1u, CSgfScanner::FindNodeStart("(;GM[1];B[aa])", 0));
  EXPECT_EQ(7u, CSgfScanner::FindNodeStart("(;GM[1];B[aa])", 2));
  EXPECT_EQ(11u, CSgfScanner::FindNodeStart("(;C[;x\\];y];B[aa])", 2));
  EXPECT_EQ(std::string_view::npos, CSgfScanner::FindNodeStart("(;C[;;;", 2));
}

TEST(SgfScanner, NumbersReadLikeAtolWithinThirtyTwoBits) {
  EXPECT_EQ(0, CSgfScanner::ParseLong(""));
  EXPECT_EQ(0, CSgfScanner::ParseLong("x12"));
  EXPECT_EQ(-12, CSgfScanner::ParseLong(" -12x"));
  EXPECT_EQ(300, CSgfScanner::ParseLong("+300.9"));
  EXPECT_EQ(2147483647, CSgfScanner::ParseLong("2147483648"));
  EXPECT_EQ(-2147483647 - 1, CSgfScanner::ParseLong("-2147483648"));
  EXPECT_EQ(-2147483647 - 1, CSgfScanner::ParseLong("-99999999999999999999999"));
}
