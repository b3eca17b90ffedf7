#include "orvanta/lobby/SelectReplayDlg.h"

#include <platform/ddx.h>

#include "orvanta/connection/FieldTokenizer.h"

BEGIN_MESSAGE_MAP(CSelectReplayDlg, CDialog)
  ON_NOTIFY(NM_DBLCLK, CSelectReplayDlg::kPlayerList, OnListDblClk)
END_MESSAGE_MAP()

CSelectReplayDlg::CSelectReplayDlg(const CString& listText, CWnd* parent)
    : CDialog(kTemplateId, parent), m_strListText(listText) {}

platform::DialogTemplate CSelectReplayDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 180;
  t.cy = 140;
  t.caption = "Select Replay";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("SysListView32", kPlayerList, 6, 6, 168, 106,
                            LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Button", IDOK, 30, 120, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 100, 120, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CSelectReplayDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  m_list.InsertColumn(0, "Person", LVCFMT_LEFT, 145);
  m_list.InsertColumn(1, "Grade", LVCFMT_LEFT, 100);
  m_list.InsertColumn(2, "Host", LVCFMT_CENTER, 0);
  CFieldTokenizer records(m_strListText, '/');
  const int count = records.GetCount();
  for (int i = 0; i < count; ++i) {
    const CString record = records.NextField();
    if (record.IsEmpty())
      break;
    CFieldTokenizer fields(record, '|');
    const CString person = fields.GetField(0);
    const CString grade = fields.GetField(1);
    const CString host = fields.GetField(2);
    const int row = m_list.InsertItem(LVIF_TEXT | LVIF_STATE, m_list.GetItemCount(), person,
                                      INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK, 0, 0);
    m_list.SetItemText(row, 1, grade);
    m_list.SetItemText(row, 2, host);
  }
  return TRUE;
}

void CSelectReplayDlg::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, static_cast<int>(kPlayerList), m_list); }

void CSelectReplayDlg::OnOK() {
  m_strPerson.Empty();
  m_strHost.Empty();
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row >= 0) {
    m_strPerson = m_list.GetItemText(row, 0);
    m_strHost = m_list.GetItemText(row, 2);
  }
  EndDialog(IDOK);
}

void CSelectReplayDlg::OnListDblClk(NMHDR*, LRESULT* result) {
  OnOK();
  *result = 0;
}
