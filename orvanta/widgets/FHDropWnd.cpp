#include "orvanta/widgets/FHDropWnd.h"

#include <platform/gdi.h>

BEGIN_MESSAGE_MAP(CFHDropWnd, CWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CFHDropWnd::CFHDropWnd(COLORREF colour) { m_brush.CreateSolidBrush(colour); }

CFHDropWnd::~CFHDropWnd() = default;

std::vector<POINT> CFHDropWnd::DownArrow() { return {{8, 0}, {8, 4}, {11, 4}, {6, 9}, {1, 4}, {4, 4}, {4, 0}}; }

std::vector<POINT> CFHDropWnd::UpArrow(int h) {
  return {{4, h}, {4, h - 4}, {0, h - 4}, {6, h - 10}, {12, h - 4}, {8, h - 4}, {8, h}};
}

BOOL CFHDropWnd::Create(int headerHeight) {
  m_nHeight = headerHeight + 2 * kOverhang;
  if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, "", WS_POPUP | WS_DISABLED, 0, 0, kWidth, m_nHeight,
                nullptr, nullptr))
    return FALSE;
  const std::vector<POINT> down = DownArrow();
  const std::vector<POINT> up = UpArrow(m_nHeight);
  CRgn upper;
  CRgn lower;
  upper.CreatePolygonRgn(down.data(), static_cast<int>(down.size()), WINDING);
  lower.CreatePolygonRgn(up.data(), static_cast<int>(up.size()), WINDING);
  m_region.CreateRectRgn(0, 0, 0, 0);
  m_region.CombineRgn(&upper, &lower, RGN_OR);
  // The window owns the region it is given; this copy stays for painting.
  CRgn shape;
  shape.CreateRectRgn(0, 0, 0, 0);
  shape.CombineRgn(&upper, &lower, RGN_OR);
  ::SetWindowRgn(m_hWnd, reinterpret_cast<HRGN>(shape.Detach()), FALSE);
  return TRUE;
}

void CFHDropWnd::ShowAt(int x, int y) {
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, x - kWidth / 2, y - m_nHeight / 2, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

BOOL CFHDropWnd::OnEraseBkgnd(CDC* dc) {
  CRect strip(0, 0, kWidth, m_nHeight);
  dc->FillRect(&strip, &m_brush);
  return TRUE;
}

void CFHDropWnd::OnPaint() {
  CPaintDC dc(this);
  dc.FillRgn(&m_region, &m_brush);
}

void CFHDropWnd::PostNcDestroy() { delete this; }
