#include "orvanta/room/PlayRecordListDlg.h"

#include <cstdlib>

#include <platform/ddx.h>

#include "orvanta/connection/FieldTokenizer.h"

BEGIN_MESSAGE_MAP(CPlayRecordListDlg, CDialog)
  ON_NOTIFY(NM_DBLCLK, CPlayRecordListDlg::kRecordList, OnDblClkList)
END_MESSAGE_MAP()

CPlayRecordListDlg::CPlayRecordListDlg(const CString& owner, const CString& payload, CWnd* parent)
    : CDialog(kTemplateId, parent), m_strOwner(owner), m_strPayload(payload) {}

platform::DialogTemplate CPlayRecordListDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 400;
  t.cy = 170;
  t.caption = "Play Record List";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("SysListView32", kRecordList, 6, 6, 388, 136,
                            LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Button", IDOK, 236, 150, 90, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "Continue to play"),
      platform::VisibleItem("Button", IDCANCEL, 334, 150, 60, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

std::vector<CPlayRecordListDlg::Row> CPlayRecordListDlg::RowsOf(const CString& payload, CString& lastNumber) {
  CFieldTokenizer tokens(payload, '|');
  // Read front to back once: the tokenizer starts over at its end, and a count larger than the
  // payload must not read the first records again.
  std::vector<CString> fields;
  const int available = tokens.GetCount();
  for (int i = 0; i < available; ++i) fields.push_back(tokens.NextField());
  std::vector<Row> rows;
  if (fields.empty())
    return rows;
  const long count = std::atol(fields[0].GetString());
  for (long i = 0; i < count && 12 * static_cast<std::size_t>(i) + 1 < fields.size(); ++i) {
    const std::size_t first = 12 * static_cast<std::size_t>(i) + 1;
    auto r = [&](std::size_t k) { return first + k < fields.size() ? fields[first + k] : CString(); };
    lastNumber.Format("%d", std::atoi(r(0).GetString()) - 1);
    if (r(11).Find("Pause") < 0)
      continue;
    rows.push_back({r(0), r(1), r(3) + "(" + r(4) + "-" + r(5) + ")", r(7) + "(" + r(8) + "-" + r(9) + ")", r(10),
                    r(11)});
  }
  return rows;
}

BOOL CPlayRecordListDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  static const char* const kHeadings[kColumns] = {"No", "Play Date", "Black Player", "White Player", "Total Moves",
                                                  "Results"};
  static const int kWidths[kColumns] = {50, 120, 150, 150, 70, 150};
  for (int column = 0; column < kColumns; ++column)
    m_list.InsertColumn(column, kHeadings[column], LVCFMT_CENTER, kWidths[column]);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE |
                          LVS_EX_TRACKSELECT);
  m_list.ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
  FillRows();
  return TRUE;
}

void CPlayRecordListDlg::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, static_cast<int>(kRecordList), m_list); }

void CPlayRecordListDlg::FillRows() {
  for (const Row& row : RowsOf(m_strPayload, m_strLastNumber)) {
    const int item = m_list.InsertItem(m_list.GetItemCount(), row[0]);
    for (int column = 1; column < kColumns; ++column)
      m_list.SetItemText(item, column, row[static_cast<std::size_t>(column)]);
  }
}

CString CPlayRecordListDlg::SelectedNumber() const {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  return row >= 0 ? m_list.GetItemText(row, 0) : CString("-1");
}

void CPlayRecordListDlg::OnOK() {
  m_strSelection = SelectedNumber();
  if (m_strSelection == "-1") {
    MessageBox("Please, select a game record.", "Inform", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  EndDialog(IDOK);
}

void CPlayRecordListDlg::OnDblClkList(NMHDR*, LRESULT* result) {
  *result = 0;
  m_strSelection = SelectedNumber();
  if (m_strSelection != "-1")
    EndDialog(IDOK);
}
