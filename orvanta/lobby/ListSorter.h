#pragma once
// CListSorter: sorts the rows of a report list by the text of one column, compared by the
// column's kind. While it lives, each row's item data is its sort record; the destructor gives
// every row its own item data back. Construct, Sort once, destroy, within one handler.
//
// The list's own sort is a stable merge sort that only ever reads the records it was given, so a
// comparison that is not a strict ordering (equal texts compare as "after") cannot take it out of
// bounds.

#include <memory>
#include <vector>

#include <platform/controls.h>
#include <platform/strings.h>

class CListSorter {
public:
  // Column kinds.
  static constexpr int kWholeNumber = 1;
  static constexpr int kText = 2;
  static constexpr int kDate = 3;
  static constexpr int kRealNumber = 4;
  static constexpr int kGrade = 5;
  static constexpr int kRoomState = 6;

  CListSorter(CListCtrl& list, int column);
  ~CListSorter();
  CListSorter(const CListSorter&) = delete;
  CListSorter& operator=(const CListSorter&) = delete;

  // Sorts the whole list by kind, ascending when ascending is non-zero.
  void Sort(BOOL ascending, int kind);

  // The comparison of two column texts with parameter p (the kind, negative for descending).
  static int CompareTexts(const CString& a, const CString& b, int p);

private:
  struct SortRecord {
    DWORD_PTR data{0};
    CString text;
  };
  static int CompareRecords(LPARAM a, LPARAM b, LPARAM p);

  CListCtrl& m_list;
  std::vector<std::unique_ptr<SortRecord>> m_records;
};

// The comparisons by kind, each giving s or -s (never 0 except where said).
int CompareGradeText(const CString& a, const CString& b, int s);
int CompareGradeTextKorean(const CString& a, const CString& b, int s);
// 1 when text is written with Korean grade words.
int IsKoreanGradeText(const CString& text);
// Wait 0, Play 1, Pause 2, Count 3, Review 4, End 5; -1 for none.
int RoomStateOrder(const CString& text);
int CompareRoomState(const CString& a, const CString& b, int s);
// Case-insensitive comparison of code page 949 texts: double-byte characters compare by their
// bytes, single-byte letters without case. <0, 0, >0.
int CompareTextNoCase949(const CString& a, const CString& b);
// Date and time texts ("2024-05-01 13:20:05", "2024/05/01", "2024.05.01 13:20"): -s when a is
// earlier, s otherwise; 0 when either does not read as a date.
int CompareDateTexts(const CString& a, const CString& b, int s);
