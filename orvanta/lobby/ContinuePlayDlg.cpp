#include "orvanta/lobby/ContinuePlayDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

platform::DialogTemplate CContinuePlayDlg::BuildTemplate() {
  using platform::VisibleItem;
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 170;
  t.cy = 84;
  t.caption = "Continue the Paused Play";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Button", kFrame, 6, 4, 158, 50, BS_GROUPBOX, ""),
      VisibleItem("Button", kPlayRecordRadio, 16, 16, 140, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
                  "Continue with play record"),
      VisibleItem("Button", kSavedFileRadio, 16, 34, 140, 10, BS_AUTORADIOBUTTON, "Continue with saved file"),
      VisibleItem("Button", IDOK, 30, 62, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      VisibleItem("Button", IDCANCEL, 90, 62, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CContinuePlayDlg::OnInitDialog() {
  m_nChoice = kFromSavedFile;
  return CDialog::OnInitDialog();
}

void CContinuePlayDlg::DoDataExchange(CDataExchange* dx) { DDX_Radio(dx, static_cast<int>(kPlayRecordRadio), m_nChoice); }
