#pragma once
// The report lists of the ranking, the teaching rooms and the game records: their columns with
// widths kept in "setting.ini", and their rows appended from the texts of one entry.

#include <span>

#include <platform/controls.h>
#include <platform/strings.h>

struct CReportColumn {
  const char* heading;
  int format;
  int width;      // used when no stored width applies
  int field{0};  // the entry's field shown, for lists that pick fields
};

// When a stored width list is taken in place of the columns' own widths.
enum class StoredWidthRule {
  ExactCount,  // only with one width per column
  NotEmpty,    // whenever there is one; missing widths are 0
};

// Inserts the columns once (a list that has columns keeps them) with their widths, or those of
// stored ("|w0|w1|...|") under rule, and the list's extended styles; true when the stored widths
// were taken (stored widths equal to the columns' own count as none).
bool InsertReportColumns(CListCtrl& list, std::span<const CReportColumn> columns, const CString& stored,
                         StoredWidthRule rule);
// A column width as "setting.ini" keeps it, held to 0..the screen's width: a file's number
// never makes a column the screen cannot show.
int StoredColumnWidth(const CString& field);
// Widens each of the first count shown columns that cuts its heading or a row's text to show them
// whole; a column already wide enough, or hidden (width 0), keeps its width.
void WidenReportColumns(CListCtrl& list, int count);
// "|w0|w1|...|" of the first count columns; zeroColumn (when one) is written as 0.
CString FormatReportWidths(CListCtrl& list, int count, int zeroColumn = -1);
// Appends a row: texts[0] as the item, the others in columns 1 on.
void AppendReportRow(CListCtrl& list, std::span<const CString> texts);
