#include "orvanta/lobby/SendMessageDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

#include "orvanta/lobby/SeparatorFilter.h"

CSendMessageDlg::CSendMessageDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

platform::DialogTemplate CSendMessageDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 220;
  t.cy = 130;
  t.caption = "Send Message";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Static", 0xFFFF, 8, 10, 50, 8, SS_LEFT, "Receiver ID:"),
      platform::VisibleItem("Edit", kReceiverEdit, 60, 8, 90, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Edit", kTextEdit, 8, 26, 204, 76,
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Button", IDOK, 50, 108, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 120, 108, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CSendMessageDlg::PreTranslateMessage(MSG* msg) {
  if (IsSeparatorKeyForEdit(msg))
    return TRUE;
  // Enter in the receiver box goes on to the text instead of sending an empty memo.
  if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
      msg->hwnd == ::GetDlgItem(m_hWnd, static_cast<int>(kReceiverEdit))) {
    NextDlgCtrl();
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

BOOL CSendMessageDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_strReceiver.IsEmpty())
    return TRUE;
  if (CWnd* text = GetDlgItem(static_cast<int>(kTextEdit)))
    GotoDlgCtrl(text);
  return FALSE;
}

void CSendMessageDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, static_cast<int>(kReceiverEdit), m_strReceiver);
  DDX_Text(dx, static_cast<int>(kTextEdit), m_strText);
}
