#include "client/app/AutoViewTimeDlg.h"

#include "client/relay/RelayLine.h"
#include "client/widgets/TextUtilities.h"
#include "client/resources/ClientIds.h"
#include "platform/controls.h"

BEGIN_MESSAGE_MAP(CAutoViewTimeDlg, CDialog)
  ON_CBN_SELCHANGE(IDC_AUTOVIEW_LIST, OnSelChange)
END_MESSAGE_MAP()

CAutoViewTimeDlg::CAutoViewTimeDlg(CWnd* parent) : CDialog(IDD_AUTOVIEWTIME, parent) {}

BOOL CAutoViewTimeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_list.SubclassDlgItem(IDC_AUTOVIEW_LIST, this)) {
    CComboBox* list = &m_list;
    list->ResetContent();
    for (int seconds = 1; seconds <= 10; ++seconds) {
      CString item;
      item.Format("%d", seconds);
      list->AddString(item);
    }
    list->SetCurSel(2);
  }
  CString text;
  LoadUiText("Autoview Time Setup", text);
  SetWindowText(text);
  LoadUiText("Autoview Time", text);
  SetDlgItemText(IDC_AUTOVIEW_LABEL, text);
  LoadUiText("sec", text);
  SetDlgItemText(IDC_AUTOVIEW_UNIT, text);
  return TRUE;
}

void CAutoViewTimeDlg::OnSelChange() {
  CComboBox* list = &m_list;
  if (list->GetSafeHwnd() == nullptr || list->GetCurSel() < 0) return;
  CString item;
  list->GetLBText(list->GetCurSel(), item);
  m_nInterval = ReadRelayInt(item);
}
