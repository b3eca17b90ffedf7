#include "orvanta/lobby/ReportColumns.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

// Track selection, full-row selection and one-click activation.
constexpr DWORD kReportStyles = 0x68;

}  // namespace

int StoredColumnWidth(const CString& field) {
  const long long width = std::strtoll(field, nullptr, 10);
  return static_cast<int>(std::clamp<long long>(width, 0, ::GetSystemMetrics(SM_CXSCREEN)));
}

bool InsertReportColumns(CListCtrl& list, std::span<const CReportColumn> columns, const CString& stored,
                         StoredWidthRule rule) {
  const int count = static_cast<int>(columns.size());
  std::vector<int> widths;
  for (const CReportColumn& column : columns) widths.push_back(column.width);
  CFieldTokenizer fields(stored);
  // The first save of "setting.ini" writes every list's own widths: those were never a choice.
  CString own = "|";
  for (int width : widths) own += CString(std::to_string(width).c_str()) + "|";
  const bool useStored = !stored.IsEmpty() && stored != own &&
                         (rule == StoredWidthRule::NotEmpty || fields.GetCount() == count);
  // The tokenizer starts over past the last field, so the count bounds the reads.
  const int present = fields.GetCount();
  if (useStored)
    for (int i = 0; i < count; ++i)
      widths[static_cast<std::size_t>(i)] = i < present ? StoredColumnWidth(fields.NextField()) : 0;
  if (!list.GetHeaderCtrl() || list.GetHeaderCtrl()->GetItemCount() == 0)
    for (int i = 0; i < count; ++i)
      list.InsertColumn(i, columns[static_cast<std::size_t>(i)].heading, columns[static_cast<std::size_t>(i)].format,
                        widths[static_cast<std::size_t>(i)]);
  list.SetExtendedStyle(list.GetExtendedStyle() | kReportStyles);
  return useStored;
}

void WidenReportColumns(CListCtrl& list, int count) {
  for (int column = 0; column < count; ++column) {
    const int width = list.GetColumnWidth(column);
    if (width <= 0)
      continue;  // a hidden column stays hidden
    list.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
    if (list.GetColumnWidth(column) < width)
      list.SetColumnWidth(column, width);
  }
}

CString FormatReportWidths(CListCtrl& list, int count, int zeroColumn) {
  CString text = "|";
  for (int i = 0; i < count; ++i) {
    CString width;
    width.Format("%d|", i == zeroColumn ? 0 : list.GetColumnWidth(i));
    text += width;
  }
  return text;
}

void AppendReportRow(CListCtrl& list, std::span<const CString> texts) {
  if (texts.empty())
    return;
  const int item = list.InsertItem(list.GetItemCount(), texts[0]);
  for (std::size_t column = 1; column < texts.size(); ++column)
    list.SetItemText(item, static_cast<int>(column), texts[column]);
}
