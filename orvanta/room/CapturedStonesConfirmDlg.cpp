#include "orvanta/room/CapturedStonesConfirmDlg.h"

#include <algorithm>
#include <string>

#include <platform/controls.h>
#include <platform/gdi.h>

CCapturedStonesConfirmDlg::CCapturedStonesConfirmDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

platform::DialogTemplate CCapturedStonesConfirmDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 206;
  t.cy = 66;
  t.caption = "Confirm";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Static", kIcon, 8, 8, 20, 20, SS_ICON),
      platform::VisibleItem("Static", kLine1, 36, 10, 162, 10, SS_LEFT | SS_NOPREFIX,
                            "Do you agree to CAPTURED STONES?"),
      platform::VisibleItem("Static", kLine2, 36, 24, 162, 10, SS_LEFT | SS_NOPREFIX),
      platform::VisibleItem("Button", IDOK, 46, 44, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 110, 44, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

void CCapturedStonesConfirmDlg::SetText(int index, const CString& text) {
  if (index == 0)
    m_strLine1 = text;
  else if (index == 1)
    m_strLine2 = text;
}

int CCapturedStonesConfirmDlg::CountLines(const CString& text) {
  const char* s = text.GetString();
  return static_cast<int>(std::count(s, s + text.GetLength(), '\n'));
}

CRect CCapturedStonesConfirmDlg::ChildRect(UINT id) const {
  CRect rect;
  if (CWnd* child = GetDlgItem(static_cast<int>(id))) {
    child->GetWindowRect(&rect);
    ScreenToClient(&rect);
  }
  return rect;
}

void CCapturedStonesConfirmDlg::MoveChildBy(UINT id, int dx, int dy) {
  if (CWnd* child = GetDlgItem(static_cast<int>(id))) {
    CRect rect = ChildRect(id);
    child->MoveWindow(rect.left + dx, rect.top + dy, rect.Width(), rect.Height());
  }
}

int CCapturedStonesConfirmDlg::ExtraHeight(const CRect& line1) const {
  // A line too long for the box wraps: the room it needs counts, not only its line feeds.
  int wrapped = 0;
  if (CWnd* text = GetDlgItem(static_cast<int>(kLine1))) {
    CClientDC dc(text);
    const auto font = reinterpret_cast<HGDIOBJ>(text->SendMessage(WM_GETFONT));
    const HGDIOBJ old = font ? dc.SelectObject(font) : nullptr;
    CRect needed(0, 0, line1.Width(), 0);
    dc.DrawText(m_strLine1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    if (old)
      dc.SelectObject(old);
    wrapped = needed.Height() - line1.Height();
  }
  return std::max(line1.Height() * CountLines(m_strLine1), wrapped);
}

int CCapturedStonesConfirmDlg::ExtraWidth(const CRect& line1) const {
  CWnd* text = GetDlgItem(static_cast<int>(kLine1));
  if (!text)
    return 0;
  CClientDC dc(text);
  const auto font = reinterpret_cast<HGDIOBJ>(text->SendMessage(WM_GETFONT));
  const HGDIOBJ old = font ? dc.SelectObject(font) : nullptr;
  int widest = 0;
  const std::string whole = m_strLine1.str();
  for (std::size_t start = 0; start <= whole.size();) {
    const std::size_t end = std::min(whole.find('\n', start), whole.size());
    widest = std::max(widest, static_cast<int>(dc.GetTextExtent(whole.substr(start, end - start).c_str()).cx));
    start = end + 1;
  }
  if (old)
    dc.SelectObject(old);
  // Never wider than the screen: a longer line wraps as before.
  const int room = ::GetSystemMetrics(SM_CXSCREEN) * 9 / 10 - line1.Width();
  return std::clamp(widest + 2 - line1.Width(), 0, std::max(room, 0));
}

BOOL CCapturedStonesConfirmDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CRect line1 = ChildRect(kLine1);
  const int wider = ExtraWidth(line1);
  if (wider > 0) {
    line1.right += wider;
    CRect window;
    GetWindowRect(&window);
    MoveWindow(window.left - wider / 2, window.top, window.Width() + wider, window.Height());
    const CRect line2 = ChildRect(kLine2);
    if (CWnd* second = GetDlgItem(static_cast<int>(kLine2)))
      second->MoveWindow(line2.left, line2.top, line2.Width() + wider, line2.Height());
    MoveChildBy(IDOK, wider / 2, 0);
    MoveChildBy(IDCANCEL, wider / 2, 0);
  }
  const int line2Height = ChildRect(kLine2).Height();
  const int extra = ExtraHeight(line1);

  if (CWnd* text = GetDlgItem(static_cast<int>(kLine1))) {
    text->MoveWindow(line1.left, line1.top, line1.Width(), line1.Height() + extra);
    text->SetWindowText(m_strLine1);
  }
  MoveChildBy(kLine2, 0, extra);
  const bool hideLine2 = m_strLine2.IsEmpty() && m_nKeepLine2 == 0;
  if (!m_strLine2.IsEmpty())
    SetDlgItemText(static_cast<int>(kLine2), m_strLine2);
  else if (hideLine2)
    GetDlgItem(static_cast<int>(kLine2))->ShowWindow(SW_HIDE);

  if (m_nOneButton) {
    CRect client;
    GetClientRect(&client);
    const CRect ok = ChildRect(IDOK);
    MoveChildBy(IDOK, (client.Width() - ok.Width()) / 2 - ok.left, 0);
    GetDlgItem(IDCANCEL)->ShowWindow(SW_HIDE);
  }

  CRect window;
  GetWindowRect(&window);
  if (m_nAnchorBottom == 0 || m_nAnchorRight == 0) {
    // Left where it was, but a question of several lines still gets the room it needs: the
    // buttons and the bottom edge go down with it instead of covering its last lines.
    if (extra > 0) {
      MoveChildBy(IDOK, 0, extra);
      MoveChildBy(IDCANCEL, 0, extra);
      MoveWindow(window.left, window.top, window.Width(), window.Height() + extra);
    }
    return TRUE;
  }
  MoveChildBy(IDOK, 0, extra - line2Height);
  MoveChildBy(IDCANCEL, 0, extra - line2Height);
  const int height = window.Height() - line2Height + extra;
  MoveWindow(m_nAnchorRight - window.Width(), m_nAnchorBottom - height, window.Width(), height);
  return TRUE;
}
