#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "orvanta/lobby/GradeOrder.h"
#include "orvanta/lobby/ListSorter.h"

namespace {

// Inserts each grade as the room list does and returns the resulting order.
std::vector<std::string> PlaceRooms(const std::vector<const char*>& grades) {
  std::vector<CString> rows;
  for (const char* grade : grades) {
    const int at = FindRoomInsertIndex(rows, grade);
    rows.insert(rows.begin() + at, grade);
  }
  std::vector<std::string> texts;
  for (const CString& row : rows) texts.push_back(row.str());
  return texts;
}

TEST(GradeOrderTest, RoomsArePlacedStrongestFirstWithStarsAndNewestRules) {
  EXPECT_EQ(PlaceRooms({"3K", "1D", "Pro1D"}), (std::vector<std::string>{"Pro1D", "1D", "3K"}));
  // Equal grades: the newest unstarred goes before unstarred rows but after starred ones.
  EXPECT_EQ(PlaceRooms({"2D", "*2D", "2D"}), (std::vector<std::string>{"*2D", "2D", "2D"}));
  EXPECT_EQ(CompareGrades("*2D", "2D"), -1);
  EXPECT_EQ(CompareGrades("2D", "2D"), 1);
  // Korean words order the same way.
  EXPECT_EQ(CompareGrades(Cp949("프로9단"), Cp949("아마7단")), -1);
  EXPECT_EQ(CompareGrades(Cp949("1급"), "2K"), -1);
  // An empty grade row is never passed.
  std::vector<CString> rows = {"1D", "", "Pro9D"};
  EXPECT_EQ(FindRoomInsertIndex(rows, "Pro9D"), 0);
  EXPECT_EQ(FindRoomInsertIndex(rows, "5K"), 1);
}

TEST(GradeOrderTest, NegotiationGradeComparisons) {
  struct Case {
    const char* a;
    const char* b;
    bool atLeast;
  } cases[] = {{"3K", "5K", true},  {"5K", "5K", false}, {"5K", "1D", false}, {"1D", "5K", true},
               {"2D", "2D", true},  {"1D", "2D", false}, {"Pro1D", "7D", true}, {"7D", "Pro1D", false},
               {"Pro3D", "Pro3D", true}, {"*3K", "3K", false}};
  for (const Case& c : cases) EXPECT_EQ(IsGradeAtLeast(c.a, c.b), c.atLeast) << c.a << " vs " << c.b;
  EXPECT_EQ(GradeToNumber("1K"), 18);
  EXPECT_EQ(GradeToNumber("*1D"), 19);
  EXPECT_EQ(GradeToNumber("7D"), 25);
  EXPECT_EQ(GradeToNumber("Pro1D"), 26);
  EXPECT_EQ(GradeToNumber("?"), 0);
  EXPECT_EQ(GradeToNumber("K"), 19);  // a missing number counts as 0
}

std::vector<std::string> SortTexts(std::vector<const char*> texts, int kind, bool ascending) {
  std::vector<CString> values(texts.begin(), texts.end());
  const int p = ascending ? kind : -kind;
  std::stable_sort(values.begin(), values.end(),
                   [p](const CString& a, const CString& b) { return CListSorter::CompareTexts(a, b, p) < 0; });
  std::vector<std::string> out;
  for (const CString& v : values) out.push_back(v.str());
  return out;
}

TEST(ListSorterCompareTest, GradesRunFromWeakestToStrongest) {
  EXPECT_EQ(SortTexts({"1D", "Pro1D", "3K", "10K"}, CListSorter::kGrade, true),
            (std::vector<std::string>{"10K", "3K", "1D", "Pro1D"}));
  EXPECT_EQ(SortTexts({"1D", "Pro1D", "3K", "10K"}, CListSorter::kGrade, false),
            (std::vector<std::string>{"Pro1D", "1D", "3K", "10K"}));
  const std::string kyu = Cp949("3급"), amateur = Cp949("아마2단"), pro = Cp949("프로1단"), weak = Cp949("15급");
  EXPECT_EQ(SortTexts({pro.c_str(), kyu.c_str(), amateur.c_str(), weak.c_str()}, CListSorter::kGrade, true),
            (std::vector<std::string>{weak, kyu, amateur, pro}));
  EXPECT_EQ(CompareGradeText("*2D", "2D", 1), 1);  // starred counts as stronger
  EXPECT_EQ(CompareGradeText("2D", "*2D", 1), -1);
  EXPECT_EQ(CompareGradeText("2D", "2D", 1), 1);  // equal texts never compare as 0
  // Texts too short for their digit read it as 0 instead of running past their end.
  EXPECT_EQ(CompareGradeText("*ProD", "Pro9D", 1), -1);
  EXPECT_EQ(CompareGradeText("D", "1D", 1), -1);
  EXPECT_EQ(CompareGradeText("*K", "K", 1), 1);
  EXPECT_EQ(CompareGradeTextKorean(Cp949("프로단"), Cp949("프로1단"), 1), -1);
  // The Korean rules are chosen by the second text only.
  EXPECT_EQ(IsKoreanGradeText(Cp949("아마1단")), 1);
  EXPECT_EQ(IsKoreanGradeText("1D"), 0);
}

TEST(ListSorterCompareTest, OtherKinds) {
  EXPECT_EQ(SortTexts({"End", "x", "Review", "Wait", "Count", "Play", "Pause"}, CListSorter::kRoomState, true),
            (std::vector<std::string>{"x", "Wait", "Play", "Pause", "Count", "Review", "End"}));
  EXPECT_EQ(SortTexts({"10", "9", "-2", "x"}, CListSorter::kWholeNumber, true),
            (std::vector<std::string>{"-2", "x", "9", "10"}));
  EXPECT_EQ(SortTexts({"bob", "Amy", "carl", "amy"}, CListSorter::kText, true),
            (std::vector<std::string>{"Amy", "amy", "bob", "carl"}));
  EXPECT_EQ(SortTexts({"2.5", "2.25", "10"}, CListSorter::kRealNumber, false),
            (std::vector<std::string>{"10", "2.5", "2.25"}));
  EXPECT_EQ(SortTexts({"2024-05-02", "2023/12/31 23:59", "2024.05.01 10:00:00"}, CListSorter::kDate, true),
            (std::vector<std::string>{"2023/12/31 23:59", "2024.05.01 10:00:00", "2024-05-02"}));
  EXPECT_EQ(CompareDateTexts("yesterday", "2024-01-01", 1), 0);
  EXPECT_EQ(CompareDateTexts("2024-13-01", "2024-01-01", 1), 0);
  for (int kind : {0, 7, -7})
    EXPECT_EQ(CListSorter::CompareTexts("1", "2", kind), 0);
  EXPECT_LT(CompareTextNoCase949(Cp949("가"), Cp949("나")), 0);
  EXPECT_EQ(CompareTextNoCase949("ABC", "abc"), 0);
}

}  // namespace
