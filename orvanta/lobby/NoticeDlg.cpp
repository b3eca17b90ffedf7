#include "orvanta/lobby/NoticeDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

BEGIN_MESSAGE_MAP(CNoticeDlg, CDialog)
  ON_BN_CLICKED(CNoticeDlg::kGoToButton, OnGoTo)
END_MESSAGE_MAP()

CNoticeDlg::CNoticeDlg(CWnd* parent, const CString& text, const CString& caption, int goTo)
    : CDialog(kTemplateId, parent), m_nGoTo(goTo), m_strNotice(text), m_strCaption(caption), m_strText(text) {}

platform::DialogTemplate CNoticeDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 260;
  t.cy = 170;
  t.caption = "Notice";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Edit", kTextEdit, 6, 6, 248, 136,
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_BORDER),
      platform::VisibleItem("Button", kGoToButton, 70, 150, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "GoTo"),
      platform::VisibleItem("Button", IDOK, 140, 150, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "OK"),
  };
  platform::DialogItemTemplate hidden{"Button", kHiddenDefaultButton, 200, 150, 50, 14, BS_DEFPUSHBUTTON | WS_DISABLED, 0,
                                      "Button1"};
  t.items.push_back(hidden);
  return t;
}

BOOL CNoticeDlg::OnInitDialog() {
  SetDefID(kHiddenDefaultButton);
  if (!m_strCaption.IsEmpty())
    SetWindowText(m_strCaption);
  if (m_nGoTo == 0)
    if (CWnd* button = GetDlgItem(static_cast<int>(kGoToButton)))
      button->ShowWindow(SW_HIDE);
  return CDialog::OnInitDialog();
}

BOOL CNoticeDlg::PreTranslateMessage(MSG* msg) {
  // The notice is read, never edited: keys aimed at its edit go nowhere.
  if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
      msg->hwnd == ::GetDlgItem(m_hWnd, static_cast<int>(kTextEdit)))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

void CNoticeDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, static_cast<int>(kTextEdit), m_strText); }

void CNoticeDlg::OnGoTo() {
  if (m_nGoTo != 0)
    EndDialog(kGoToResult);
}
