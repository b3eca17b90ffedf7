#include "client/widgets/ProgressStatusBar.h"

#include "client/widgets/DrawUtilities.h"
#include "client/widgets/TextUtilities.h"
#include "platform/frames.h"

namespace {

constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_PROGRESS, ID_INDICATOR_NEXTSTONE};
constexpr COLORREF kTextBlue = RGB(0, 0, 255);
constexpr COLORREF kKeyGreen = RGB(0, 255, 0);
constexpr int kFontTenths = 80;

}  // namespace

BEGIN_MESSAGE_MAP(CProgressStatusBar, CStatusBar)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CProgressStatusBar::CProgressStatusBar() : m_background(::GetSysColor(COLOR_BTNFACE)) {}

bool CProgressStatusBar::Create(CWnd* parent) {
  if (!CStatusBar::Create(parent, WS_CHILD | WS_VISIBLE, AFX_IDW_STATUS_BAR)) return false;
  if (!SetIndicators(kIndicators, 3)) return false;
  // The bar paints its panes itself; the plain pane control underneath only keeps their places.
  if (CWnd* panes = GetWindow(GW_CHILD)) panes->ShowWindow(SW_HIDE);
  m_parent = parent;
  m_whiteStone.LoadBitmap(IDB_STATUS_WHITE);
  m_blackStone.LoadBitmap(IDB_STATUS_BLACK);
  SetProgress(0);
  return true;
}

void CProgressStatusBar::SetProgress(int n) {
  if (n == m_progress) return;
  m_progress = n;
  InvalidatePane(1);
}

const CString& CProgressStatusBar::GetProgressText() const {
  if (m_progressTextFor != m_progress) {
    CString word;
    LoadUiText("progress", word);
    m_progressText.Format("%s : %3d", static_cast<const char*>(word), m_progress);
    m_progressTextFor = m_progress;
  }
  return m_progressText;
}

void CProgressStatusBar::SetNextColor(int colour, bool force) {
  if (!force && colour != m_nextColor) force = true;
  m_nextColor = colour;
  if (force) InvalidatePane(2);
}

BOOL CProgressStatusBar::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, m_background);
  return TRUE;
}

void CProgressStatusBar::OnPaint() {
  m_panesPending = 0;
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, m_background);
  CRect message = PaneRect(0);
  dc.FillSolidRect(&message, m_background);
  DrawPaneText(dc, GetPaneText(0), message, DT_LEFT | DT_VCENTER | DT_SINGLELINE);

  CBitmap& stone = m_nextColor == 2 ? m_blackStone : m_whiteStone;
  BITMAP info{};
  if (stone.GetSafeHandle() && stone.GetBitmap(&info)) {
    const CRect pane = PaneRect(2);
    DrawTransparentBitmap(&dc, pane.left + (pane.Width() - info.bmWidth) / 2,
                          pane.top + (pane.Height() - info.bmHeight) / 2, info.bmWidth, info.bmHeight, &stone, 0, 0,
                          kKeyGreen, nullptr);
  }
  CRect progress = PaneRect(1);
  dc.FillSolidRect(&progress, m_background);
  DrawPaneText(dc, GetProgressText(), progress, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

CRect CProgressStatusBar::PaneRect(int index) const {
  CRect rect;
  GetItemRect(index, &rect);
  return rect;
}

void CProgressStatusBar::InvalidatePane(int index) {
  if (m_hWnd == nullptr) return;
  const unsigned bit = 1u << index;
  if (m_panesPending & bit) return;
  m_panesPending |= bit;
  const CRect rect = PaneRect(index);
  InvalidateRect(&rect, FALSE);
}

void CProgressStatusBar::DrawPaneText(CDC& dc, const CString& text, CRect rect, UINT format) {
  HFONT font = CreateDeviceFont(&dc, Cp949("굴림"), kFontTenths, 0, 0, true);
  HGDIOBJ oldFont = dc.SelectObject(reinterpret_cast<HGDIOBJ>(font));
  const COLORREF oldColour = dc.SetTextColor(kTextBlue);
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  dc.DrawText(text, &rect, format);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectObject(oldFont);
  ::DeleteObject(reinterpret_cast<HGDIOBJ>(font));
}
