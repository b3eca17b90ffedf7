#include "orvanta/room/GotoMoveDlg.h"

#include <cerrno>
#include <cstdlib>

#include <platform/controls.h>
#include <platform/ddx.h>
#include <platform/msgbox.h>

BEGIN_MESSAGE_MAP(CGotoMoveDlg, CDialog)
  ON_WM_CHAR()
END_MESSAGE_MAP()

CGotoMoveDlg::CGotoMoveDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

platform::DialogTemplate CGotoMoveDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 150;
  t.cy = 62;
  t.caption = "Goto Nth Move";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Static", static_cast<UINT>(-1), 8, 10, 60, 10, SS_LEFT, "Move number:"),
      platform::VisibleItem("Edit", kNumberEdit, 72, 8, 70, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Button", IDOK, 18, 38, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 82, 38, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

bool CGotoMoveDlg::AcceptsChar(bool focusInEdit, UINT ch) {
  return focusInEdit && ((ch >= '0' && ch <= '9') || ch == VK_BACK);
}

const char* CGotoMoveDlg::CheckNumber(const CString& text, int& number) {
  if (text.IsEmpty())
    return "Enter move number you wish to locate.";
  // Only digits can be typed, but a pasted text is read the same careful way: anything that is
  // not a plain number in range is refused rather than read as some other move.
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.GetString(), &end, 10);
  if (end == text.GetString() || *end != '\0' || value < 0)
    return "Enter number.";
  if (errno == ERANGE || value > kMaxMove)
    return "Wrong sequence of moves";
  number = static_cast<int>(value);
  return nullptr;
}

BOOL CGotoMoveDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_CHAR && m_hWnd && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
    if (!FilterChar(static_cast<UINT>(msg->wParam)))
      return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

void CGotoMoveDlg::OnChar(UINT ch, UINT, UINT) { FilterChar(ch); }

BOOL CGotoMoveDlg::FilterChar(UINT ch) {
  bool inEdit = false;
  if (HWND focus = ::GetFocus()) {
    char name[16] = {};
    ::GetClassName(focus, name, sizeof name);
    inEdit = CString(name).CompareNoCase("Edit") == 0;
  }
  if (AcceptsChar(inEdit, ch))
    return TRUE;
  MessageBox("Enter number.", "Inform", MB_OK | MB_ICONEXCLAMATION);
  return FALSE;
}

void CGotoMoveDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, static_cast<int>(kNumberEdit), m_strNumber); }

void CGotoMoveDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  m_strNumber.Trim();
  int number = 0;
  if (const char* problem = CheckNumber(m_strNumber, number)) {
    MessageBox(problem, "Inform", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  m_nNumber = number;
  EndDialog(IDOK);
}
