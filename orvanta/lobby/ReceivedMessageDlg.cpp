#include "orvanta/lobby/ReceivedMessageDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>
#include <platform/msgbox.h>

#include "orvanta/lobby/SeparatorFilter.h"

CReceivedMessageDlg::CReceivedMessageDlg(CWnd* parent, const CString& caption, const CString& received)
    : CDialog(kTemplateId, parent), m_strCaption(caption), m_strReceived(received) {}

platform::DialogTemplate CReceivedMessageDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 220;
  t.cy = 170;
  t.caption = "Received Message";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Static", 0xFFFF, 8, 6, 100, 8, SS_LEFT, "Received Contents:"),
      platform::VisibleItem("Edit", kReceivedEdit, 8, 16, 204, 50,
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_BORDER),
      platform::VisibleItem("Static", 0xFFFF, 8, 72, 100, 8, SS_LEFT, "Sending Contents:"),
      platform::VisibleItem("Edit", kAnswerEdit, 8, 82, 204, 56,
                            ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Button", IDOK, 50, 148, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "Send(F2)"),
      platform::VisibleItem("Button", IDCANCEL, 120, 148, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CReceivedMessageDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(m_strCaption);
  if (CWnd* answer = GetDlgItem(static_cast<int>(kAnswerEdit)))
    answer->SetFocus();
  UpdateData(FALSE);
  return FALSE;
}

BOOL CReceivedMessageDlg::PreTranslateMessage(MSG* msg) {
  if (IsSeparatorKeyForEdit(msg))
    return TRUE;
  if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_F2) {
    OnOK();
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

void CReceivedMessageDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, static_cast<int>(kReceivedEdit), m_strReceived);
  DDX_Text(dx, static_cast<int>(kAnswerEdit), m_strAnswer);
}

void CReceivedMessageDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  if (m_strAnswer.IsEmpty() &&
      ::MessageBox(m_hWnd, "Blank message.\n\tDo you still wish to send?", "Confirm", MB_YESNO) != IDYES)
    return;
  EndDialog(IDOK);
}
