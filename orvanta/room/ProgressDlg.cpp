#include "orvanta/room/ProgressDlg.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include <platform/app.h>
#include <platform/gdi.h>
#include <platform/messageloop.h>
#include <platform/resources.h>

namespace {

constexpr const char* kSettings = "Settings";

}  // namespace

BEGIN_MESSAGE_MAP(CProgressDlg, CWnd)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(CWnd* parent, const CString& title, BOOL smooth)
    : m_strCaption(title), m_hFont(reinterpret_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))) {
  Create(parent, smooth);
}

CProgressDlg::~CProgressDlg() {
  if (m_hWnd)
    DestroyWindow();
}

BOOL CProgressDlg::Create(CWnd* parent, BOOL smooth) {
  const LPCTSTR className = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_APPSTARTING),
                                                ::GetSysColorBrush(COLOR_3DFACE));
  CWnd* owner = parent ? parent : AfxGetMainWnd();
  if (!CreateEx(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, className, m_strCaption, WS_POPUP | WS_CAPTION, 0, 0, kWidth,
                kHeight, owner ? owner->GetSafeHwnd() : nullptr, nullptr))
    return FALSE;
  const CRect none(0, 0, 0, 0);
  if (!m_status.Create("", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, none, this,
                       kStatusId) ||
      !m_bar.Create(WS_CHILD | WS_VISIBLE | (smooth ? PBS_SMOOTH : 0), none, this, kBarId)) {
    CWnd::DestroyWindow();
    return FALSE;
  }
  m_status.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
  LayOut();
  PlaceWindow();
  ShowWindow(SW_SHOWNOACTIVATE);
  return TRUE;
}

void CProgressDlg::LayOut() {
  CClientDC dc(this);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(m_hFont));
  const CSize letter = dc.GetTextExtent("M");
  const CSize cancel = dc.GetTextExtent(m_strCancel + "  ");
  ::SelectObject(dc, old);
  const int edgeX = ::GetSystemMetrics(SM_CXEDGE), edgeY = ::GetSystemMetrics(SM_CYEDGE);

  const CRect text(5, 5, 5 + kWidth, 5 + letter.cy * m_nTextLines);
  const int areaWidth = cancel.cx + 4 * edgeX, areaHeight = cancel.cy + 3 * edgeY;
  const CRect area(text.right - areaWidth, text.bottom + 5, text.right, text.bottom + 5 + areaHeight);
  const CRect bar(text.left, area.top + edgeY, area.left - 5, area.bottom - edgeY);
  m_status.MoveWindow(&text);
  m_bar.MoveWindow(&bar);

  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  const int frameX = window.Width() - client.Width(), frameY = window.Height() - client.Height();
  MoveWindow(window.left, window.top, area.right + 10 + frameX, area.bottom + 15 + frameY);
}

void CProgressDlg::PlaceWindow() {
  if (m_bRememberPosition) {
    const int x = static_cast<int>(Profile().GetProfileInt(kSettings, "X", -1));
    const int y = static_cast<int>(Profile().GetProfileInt(kSettings, "Y", -1));
    if (x >= 0 && y >= 0 && x < ::GetSystemMetrics(SM_CXSCREEN) && y < ::GetSystemMetrics(SM_CYSCREEN)) {
      CRect window;
      GetWindowRect(&window);
      // A place remembered on a larger screen still shows the whole window.
      const int right = std::max(0, ::GetSystemMetrics(SM_CXSCREEN) - window.Width());
      const int bottom = std::max(0, ::GetSystemMetrics(SM_CYSCREEN) - window.Height());
      MoveWindow(std::min(x, right), std::min(y, bottom), window.Width(), window.Height());
      return;
    }
  }
  CenterWindow();
}

platform::Profile& CProgressDlg::Profile() {
  CWinApp* app = AfxGetApp();
  return app ? app->GetProfile() : m_ownProfile;
}

void CProgressDlg::SetRange(int lower, int upper, int step) {
  m_nLower = lower;
  m_nUpper = upper;
  m_nStep = step;
  if (m_bar.GetSafeHwnd()) {
    m_bar.SetRange32(lower, upper);
    m_bar.SetStep(step);
  }
}

int CProgressDlg::SetStep(int step) {
  const int old = m_nStep;
  m_nStep = step;
  if (m_bar.GetSafeHwnd())
    m_bar.SetStep(step);
  return old;
}

int CProgressDlg::Percentage(int position, int lower, int upper) {
  if (upper <= lower)
    return 0;
  return static_cast<int>(static_cast<long long>(position) * 100 / (static_cast<long long>(upper) - lower));
}

void CProgressDlg::SetPos(int position) {
  m_nPosition = position;
  const int percentage = Percentage(position, m_nLower, m_nUpper);
  if (percentage != m_nLastPercentage) {
    m_nLastPercentage = percentage;
    if (m_hWnd) {
      CString caption;
      caption.Format("%s [%d%%]", m_strCaption.GetString(), percentage);
      SetWindowText(caption);
    }
  }
  if (m_bar.GetSafeHwnd())
    m_bar.SetPos(position);
}

void CProgressDlg::StepIt() { SetPos(m_nPosition + m_nStep); }

void CProgressDlg::SetStatus(const char* format, ...) {
  char text[513];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (m_status.GetSafeHwnd())
    m_status.SetWindowText(text);
}

void CProgressDlg::PumpMessages() {
  if (!m_hWnd)
    return;
  if (m_bParentDisabled && ::GetFocus() != m_hWnd)
    SetFocus();
  MSG msg{};
  while (!m_bCancelled && ::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The application is ending: the outer loop must still see it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    CWinApp* app = AfxGetApp();
    if (app && app->PreTranslateMessage(&msg))
      continue;
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
}

BOOL CProgressDlg::DestroyWindow() {
  if (!m_hWnd)
    return FALSE;
  if (m_bRememberPosition) {
    CRect window;
    GetWindowRect(&window);
    Profile().WriteProfileInt(kSettings, "X", window.left);
    Profile().WriteProfileInt(kSettings, "Y", window.top);
  }
  if (m_bParentDisabled) {
    m_bParentDisabled = FALSE;
    if (CWnd* main = AfxGetMainWnd())
      main->EnableWindow(TRUE);
  }
  return CWnd::DestroyWindow();
}

BOOL CProgressDlg::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, ::GetSysColor(COLOR_3DFACE));
  return TRUE;
}
