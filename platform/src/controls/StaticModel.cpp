#include "StaticModel.h"

namespace platform::detail {

bool StaticModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  bool notify = (Style() & SS_NOTIFY) != 0;
  switch (message) {
    case STM_SETIMAGE:
      result = reinterpret_cast<LRESULT>(m_image);
      m_image = reinterpret_cast<HANDLE>(lParam);
      Redraw();
      return true;
    case STM_GETIMAGE: result = reinterpret_cast<LRESULT>(m_image); return true;
    case STM_SETICON:
      result = reinterpret_cast<LRESULT>(m_icon);
      m_icon = reinterpret_cast<HICON>(wParam);
      Redraw();
      return true;
    case STM_GETICON: result = reinterpret_cast<LRESULT>(m_icon); return true;
    case WM_NCHITTEST: result = notify ? HTCLIENT : HTTRANSPARENT; return true;
    case WM_LBUTTONDOWN:
      if (notify) NotifyCommand(STN_CLICKED);
      return true;
    case WM_LBUTTONDBLCLK:
      if (notify) NotifyCommand(STN_DBLCLK);
      return true;
    default: return false;
  }
}

void StaticModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  switch (Kind()) {
    case SS_BLACKRECT: dc.FillSolidRect(&r, RGB(0, 0, 0)); return;
    case SS_GRAYRECT: dc.FillSolidRect(&r, ::GetSysColor(COLOR_BTNSHADOW)); return;
    case SS_WHITERECT: dc.FillSolidRect(&r, RGB(255, 255, 255)); return;
    case SS_BLACKFRAME: dc.Draw3dRect(&r, RGB(0, 0, 0), RGB(0, 0, 0)); return;
    case SS_ETCHEDHORZ: dc.DrawEdge(&r, EDGE_ETCHED, BF_TOP); return;
    case SS_ETCHEDVERT: dc.DrawEdge(&r, EDGE_ETCHED, BF_LEFT); return;
    case SS_ETCHEDFRAME: dc.DrawEdge(&r, EDGE_ETCHED, BF_RECT); return;
    default: break;
  }
  ::FillRect(dc.GetSafeHdc(), &r, ParentColors(dc, WM_CTLCOLORSTATIC));
  if (Kind() == SS_BITMAP) {
    PaintBitmap(dc);
    return;
  }
  if (Kind() == SS_ICON) {
    if (m_icon) dc.DrawIcon(0, 0, m_icon);
    return;
  }
  if (Style() & SS_SUNKEN) DrawSunkenFrame(dc, r);
  UINT align = Kind() == SS_CENTER ? DT_CENTER : Kind() == SS_RIGHT ? DT_RIGHT : DT_LEFT;
  // SS_LEFTNOWORDWRAP breaks lines only at line ends and clips what runs past the right edge.
  UINT format = align | (Kind() == SS_SIMPLE ? DT_SINGLELINE : Kind() == SS_LEFTNOWORDWRAP ? 0 : DT_WORDBREAK) |
                (Style() & SS_NOPREFIX ? DT_NOPREFIX : 0);
  if (Style() & SS_CENTERIMAGE) format |= DT_SINGLELINE | DT_VCENTER;
  DrawColoredLabel(dc, Text(), r, format, ::IsWindowEnabled(Hwnd()) != FALSE);
}

void StaticModel::PaintBitmap(CDC& dc) {
  if (!m_image) return;
  CDC memory;
  if (!memory.CreateCompatibleDC(&dc)) return;
  CBitmap* bitmap = CBitmap::FromHandle(reinterpret_cast<HBITMAP>(m_image));
  BITMAP info{};
  if (!bitmap || !bitmap->GetBitmap(&info)) return;
  CBitmap* old = memory.SelectObject(bitmap);
  dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

}  // namespace platform::detail
