#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include <platform/controls.h>
#include <platform/windows.h>

#include "orvanta/lobby/ReportColumns.h"

namespace {

constexpr CReportColumn kColumns[] = {{"No", LVCFMT_RIGHT, 40}, {"Name", LVCFMT_LEFT, 90}, {"Grade", LVCFMT_LEFT, 60}};

class ReportColumnsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 300, 200), &host, 61));
  }
  void TearDown() override { host.DestroyWindow(); }
  std::vector<int> Widths() {
    std::vector<int> widths;
    for (int i = 0; i < list.GetHeaderCtrl()->GetItemCount(); ++i) widths.push_back(list.GetColumnWidth(i));
    return widths;
  }
  CWnd host;
  CListCtrl list;
};

// Stored widths replace the columns' own only as each list's rule allows; a short list under
// the lenient rule gives 0 to the missing columns.
TEST_F(ReportColumnsTest, StoredWidthsFollowTheListsRule) {
  struct Row {
    const char* stored;
    StoredWidthRule rule;
    std::vector<int> widths;
  };
  const int screen = ::GetSystemMetrics(SM_CXSCREEN);
  const Row rows[] = {
      {"", StoredWidthRule::ExactCount, {40, 90, 60}},
      {"", StoredWidthRule::NotEmpty, {40, 90, 60}},
      {"|10|20|30|", StoredWidthRule::ExactCount, {10, 20, 30}},
      {"|10|20|", StoredWidthRule::ExactCount, {40, 90, 60}},
      {"|10|20|", StoredWidthRule::NotEmpty, {10, 20, 0}},
      {"|55|", StoredWidthRule::NotEmpty, {55, 0, 0}},  // never the first widths again
      // A file's numbers are held to what the screen can show.
      {"|99999999999|-5|x|", StoredWidthRule::ExactCount, {screen, 0, 0}},
      {"|10|20|30|40|", StoredWidthRule::ExactCount, {40, 90, 60}},
  };
  for (const Row& row : rows) {
    while (list.GetHeaderCtrl()->GetItemCount() > 0) list.DeleteColumn(0);
    InsertReportColumns(list, kColumns, row.stored, row.rule);
    EXPECT_EQ(Widths(), row.widths) << row.stored;
  }
  // A list that has its columns keeps them.
  InsertReportColumns(list, kColumns, "|1|2|3|", StoredWidthRule::ExactCount);
  EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 3);
  EXPECT_EQ(FormatReportWidths(list, 3), "|40|90|60|");
  EXPECT_EQ(FormatReportWidths(list, 3, 2), "|40|90|0|");
}

TEST_F(ReportColumnsTest, RowsAreAppendedInOrder) {
  InsertReportColumns(list, kColumns, "", StoredWidthRule::ExactCount);
  AppendReportRow(list, std::array<CString, 3>{"1", "amy", "3K"});
  AppendReportRow(list, std::array<CString, 3>{"2", "bob", "1D"});
  AppendReportRow(list, std::span<const CString>());  // nothing to show
  ASSERT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(list.GetItemText(1, 0), "2");
  EXPECT_EQ(list.GetItemText(1, 1), "bob");
  EXPECT_EQ(list.GetItemText(0, 2), "3K");
}

}  // namespace
