#pragma once
// Grade texts of the lobby ("18K", "1D", "Pro9D", Korean "3급", "아마2단", "프로9단", each possibly
// starred with "*") turned into orders. Every read is bounds-checked; a missing number counts as 0.

#include <platform/strings.h>

// Room list placement: -1 when grade a goes before grade b (stronger, or equal and a starred while
// b is not), else 1.
int CompareGrades(const CString& a, const CString& b);
// The room list's insertion row for a new room of grade: before the first row that is empty or
// that CompareGrades(row, grade) puts after it; the row count when none.
template <typename RowGrades>
int FindRoomInsertIndex(const RowGrades& rowGrades, const CString& grade) {
  int index = 0;
  for (const CString& row : rowGrades) {
    if (row.IsEmpty() || CompareGrades(row, grade) == 1)
      return index;
    ++index;
  }
  return index;
}
// Negotiation: whether grade a is at least as strong as grade b (equal kyu grades: false).
bool IsGradeAtLeast(const CString& a, const CString& b);
// Negotiation dialog: a grade as a number, larger is stronger (1 kyu 18, 1 dan 19, pro 1 dan 26).
int GradeToNumber(const CString& grade);
