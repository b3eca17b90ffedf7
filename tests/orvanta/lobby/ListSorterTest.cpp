#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <platform/controls.h>
#include <platform/windows.h>

#include "orvanta/lobby/ListSorter.h"

namespace {

class ListSorterTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 300, 200), &host, 60));
    list.InsertColumn(0, "ID", LVCFMT_LEFT, 80);
    list.InsertColumn(1, "GRADE", LVCFMT_RIGHT, 60);
  }
  void TearDown() override { host.DestroyWindow(); }
  void Add(const char* id, const char* grade, DWORD_PTR data) {
    const int row = list.InsertItem(list.GetItemCount(), id);
    list.SetItemText(row, 1, grade);
    list.SetItemData(row, data);
  }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i, column).str());
    return texts;
  }
  CWnd host;
  CListCtrl list;
};

TEST_F(ListSorterTest, SortsTheRowsAndGivesEachItsOwnDataBack) {
  Add("amy", "3K", 101);
  Add("bob", "Pro1D", 102);
  Add("cid", "10K", 103);
  Add("dan", "1D", 104);
  Add("eve", "3K", 105);
  {
    CListSorter sorter(list, 1);
    sorter.Sort(TRUE, CListSorter::kGrade);
  }
  EXPECT_EQ(Column(1), (std::vector<std::string>{"10K", "3K", "3K", "1D", "Pro1D"}));
  // Equal grades compare as "after" each other, never as equal: the merge then takes the later
  // row first, the same way every time, and never reads outside the rows.
  EXPECT_EQ(Column(0), (std::vector<std::string>{"cid", "eve", "amy", "dan", "bob"}));
  for (int i = 0; i < list.GetItemCount(); ++i) {
    const std::string id = list.GetItemText(i, 0).str();
    const DWORD_PTR expected = id == "amy" ? 101 : id == "bob" ? 102 : id == "cid" ? 103 : id == "dan" ? 104 : 105;
    EXPECT_EQ(list.GetItemData(i), expected) << id;
  }
  {
    CListSorter sorter(list, 0);
    sorter.Sort(FALSE, CListSorter::kText);
  }
  EXPECT_EQ(Column(0), (std::vector<std::string>{"eve", "dan", "cid", "bob", "amy"}));
  EXPECT_EQ(list.GetItemData(0), 105u);
}

TEST_F(ListSorterTest, AnUnknownKindLeavesTheOrderAndAnEmptyListIsFine) {
  {
    CListSorter sorter(list, 0);
    sorter.Sort(TRUE, CListSorter::kGrade);
  }
  Add("b", "1", 1);
  Add("a", "2", 2);
  {
    CListSorter sorter(list, 0);
    sorter.Sort(TRUE, 7);
  }
  EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(list.GetItemData(1), 2u);
}

// Comparisons that must hold at the edges: numbers at the ends of the range (compared, never
// subtracted) and the bulletin board's Korean dates.
TEST(ListSorterCompareTest, EdgesOfNumbersAndDates) {
  struct Case {
    std::string a;
    std::string b;
    int kind;
    int sign;  // of the ascending comparison
  };
  const std::string board = std::string("2026") + Cp949("년 ") + "12" + Cp949("월 ") + "09" + Cp949("일 ");
  const Case cases[] = {
      {"9223372036854775807", "-9223372036854775808", CListSorter::kWholeNumber, 1},
      {"-9223372036854775808", "1", CListSorter::kWholeNumber, -1},
      {"99999999999999999999999", "9223372036854775807", CListSorter::kWholeNumber, 0},
      {"2147483647", "2147483648", CListSorter::kWholeNumber, -1},
      {board + "10:30", board + "15:30", CListSorter::kDate, -1},
      {std::string("2027") + Cp949("년 ") + "01" + Cp949("월 ") + "01" + Cp949("일 ") + "00:00", board + "23:59",
       CListSorter::kDate, 1},
  };
  for (const Case& c : cases) {
    const int order = CListSorter::CompareTexts(c.a.c_str(), c.b.c_str(), c.kind);
    EXPECT_EQ((order > 0) - (order < 0), c.sign) << c.a << " vs " << c.b;
    if (c.sign != 0) {
      const int descending = CListSorter::CompareTexts(c.a.c_str(), c.b.c_str(), -c.kind);
      EXPECT_EQ((descending > 0) - (descending < 0), -c.sign) << c.a << " vs " << c.b;
    }
  }
}

}  // namespace
