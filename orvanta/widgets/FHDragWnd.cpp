#include "orvanta/widgets/FHDragWnd.h"

#include <cstring>

#include <platform/gdi.h>

#include "orvanta/widgets/FlatHeaderCtrl.h"

BEGIN_MESSAGE_MAP(CFHDragWnd, CWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CFHDragWnd::Create(const CRect& screenRect, CFlatHeaderCtrl* header, int index, const HDITEM& item) {
  m_pHeader = header;
  m_nItem = index;
  m_item = item;
  if (item.pszText) {
    std::strncpy(m_text, item.pszText, sizeof m_text - 1);
    m_item.pszText = m_text;
  }
  return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, "", WS_POPUP | WS_DISABLED | WS_VISIBLE,
                  screenRect.left, screenRect.top, screenRect.Width(), screenRect.Height(), nullptr, nullptr);
}

void CFHDragWnd::CentreOn(CPoint point) {
  CRect rect;
  GetWindowRect(&rect);
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, point.x - rect.Width() / 2, point.y - rect.Height() / 2, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL CFHDragWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CFHDragWnd::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  dc.Draw3dRect(&client, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
  if (m_pHeader) {
    client.DeflateRect(CFlatHeaderCtrl::kSpacing, 0);
    m_pHeader->DrawItem(&dc, client, m_item, FALSE, FALSE);
  }
}

void CFHDragWnd::PostNcDestroy() { delete this; }
