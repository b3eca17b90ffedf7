#include "orvanta/lobby/InvitationDlg.h"

#include <platform/controls.h>

namespace {

using platform::VisibleItem;

constexpr int kProgressTop = 100;

}  // namespace

BEGIN_MESSAGE_MAP(CInvitationDlg, CDialog)
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CInvitationDlg::CInvitationDlg(const CString& inviter, const CString& message, CWnd* parent)
    : CDialog(kTemplateId, parent), m_strInviter(inviter), m_strMessage(message) {}

platform::DialogTemplate CInvitationDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 200;
  t.cy = 128;
  t.caption = "Invitation";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Static", 0xFFFF, 8, 8, 34, 9, SS_LEFT, "Inviter:"),
      VisibleItem("Static", kInviterLabel, 44, 8, 148, 9, SS_LEFT | SS_NOPREFIX, ""),
      VisibleItem("Edit", kMessageEdit, 8, 22, 184, 46,
                  ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_BORDER),
      VisibleItem("Static", 0xFFFF, 8, 74, 184, 9, SS_LEFT, "Do you agree to his invitation?"),
      VisibleItem("msctls_progress32", kProgress, 8, 88, 184, 7, WS_BORDER),
      VisibleItem("Button", IDOK, 40, kProgressTop + 6, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      VisibleItem("Button", IDCANCEL, 110, kProgressTop + 6, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CInvitationDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(static_cast<int>(kInviterLabel), m_strInviter);
  SetDlgItemText(static_cast<int>(kMessageEdit), m_strMessage);
  m_nTickCount = 0;
  if (CWnd* progress = GetDlgItem(static_cast<int>(kProgress))) {
    progress->SendMessage(PBM_SETRANGE32, 0, 100);
    progress->SendMessage(PBM_SETPOS, 0);
  }
  m_nTimerId = SetTimer(kTimerId, kTickMs);
  return TRUE;
}

void CInvitationDlg::StopTimer() {
  if (m_nTimerId != 0)
    KillTimer(m_nTimerId);
  m_nTimerId = 0;
}

void CInvitationDlg::OnOK() {
  StopTimer();
  CDialog::OnOK();
}

void CInvitationDlg::OnCancel() {
  StopTimer();
  CDialog::OnCancel();
}

void CInvitationDlg::OnTimer(UINT_PTR id) {
  if (id != kTimerId || m_nTimerId == 0)
    return;
  ++m_nTickCount;
  if (CWnd* progress = GetDlgItem(static_cast<int>(kProgress)))
    progress->SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_nTickCount * 10));
  if (m_nTickCount >= kTickLimit)
    OnCancel();
}

void CInvitationDlg::OnDestroy() {
  StopTimer();
  CDialog::OnDestroy();
}
