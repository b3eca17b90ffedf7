#include "client/widgets/HoverButton.h"

#include "client/widgets/DrawUtilities.h"

BEGIN_MESSAGE_MAP(CHoverButton, CButton)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_KILLFOCUS()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

HBRUSH CHoverButton::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  CButton::OnCtlColor(dc, wnd, ctlColor);
  // The pictures cover the whole button: no brush is painted under them.
  return nullptr;
}

BOOL CHoverButton::LoadBitmap(UINT id) {
  FreeImages();
  CBitmap strip;
  if (!LoadSysColorBitmap(id, strip, m_palette)) return FALSE;
  BITMAP info{};
  strip.GetBitmap(&info);
  m_imageSize = CSize(info.bmWidth, info.bmHeight / 3);
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CDC source, target;
  source.CreateCompatibleDC(&screen);
  target.CreateCompatibleDC(&screen);
  CBitmap* oldSource = source.SelectObject(&strip);
  for (int i = 0; i < 3; ++i) {
    m_images[i].CreateCompatibleBitmap(&screen, m_imageSize.cx, m_imageSize.cy);
    CBitmap* oldTarget = target.SelectObject(&m_images[i]);
    target.BitBlt(0, 0, m_imageSize.cx, m_imageSize.cy, &source, 0, i * m_imageSize.cy, SRCCOPY);
    target.SelectObject(oldTarget);
  }
  source.SelectObject(oldSource);
  ::ReleaseDC(nullptr, screen.Detach());
  if (m_hWnd) ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
  return TRUE;
}

void CHoverButton::SizeToImage() {
  SetWindowPos(nullptr, 0, 0, m_imageSize.cx, m_imageSize.cy, SWP_NOMOVE | SWP_NOZORDER);
}

void CHoverButton::EnableButton(BOOL enable) {
  EnableWindow(enable);
  if (enable && m_state == kDisabled) {
    m_state = kNormal;
    Invalidate(FALSE);
  } else if (!enable && m_state != kDisabled) {
    m_state = kDisabled;
    Invalidate(FALSE);
  }
}

BOOL CHoverButton::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= BS_OWNERDRAW;
  return CButton::PreCreateWindow(cs);
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT item) {
  if (!IsWindowEnabled()) m_state = kDisabled;
  CBitmap& image = m_images[m_state];
  if (image.GetSafeHandle() == nullptr) return;
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect client;
  GetClientRect(&client);
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CPalette* oldPalette = nullptr;
  if (m_palette.GetSafeHandle()) {
    oldPalette = dc->SelectPalette(&m_palette, FALSE);
    dc->RealizePalette();
  }
  CBitmap* old = memory.SelectObject(&image);
  dc->BitBlt((client.Width() - m_imageSize.cx) / 2, (client.Height() - m_imageSize.cy) / 2, m_imageSize.cx,
             m_imageSize.cy, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
  if (oldPalette) {
    dc->SelectPalette(oldPalette, FALSE);
    dc->RealizePalette();
  }
}

void CHoverButton::PostNcDestroy() {
  if (m_hover && GetCapture() == this) ::ReleaseCapture();
  m_hover = FALSE;
  FreeImages();
  CButton::PostNcDestroy();
}

void CHoverButton::OnMouseMove(UINT flags, CPoint point) {
  if (m_hover && GetCapture() == this) {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
      ::ReleaseCapture();
      m_hover = FALSE;
      Leave();
    }
  } else {
    m_hover = TRUE;
    SetCapture();
    Enter();
  }
  CButton::Default();
  (void)flags;
}

void CHoverButton::OnLButtonDown(UINT flags, CPoint point) {
  if (GetFocus() != this) SetFocus();
  (void)flags;
  (void)point;
  Default();
}

void CHoverButton::OnKillFocus(CWnd* newWnd) {
  if (m_state != kDisabled) m_state = kNormal;
  m_hover = FALSE;
  (void)newWnd;
  Default();
  Invalidate(FALSE);
}

void CHoverButton::Enter() {
  m_state = IsWindowEnabled() ? kHover : kDisabled;
  if (m_state == kHover) Invalidate(FALSE);
}

void CHoverButton::Leave() {
  m_state = IsWindowEnabled() ? kNormal : kDisabled;
  if (m_state == kNormal) Invalidate(FALSE);
}

void CHoverButton::FreeImages() {
  for (CBitmap& image : m_images) image.DeleteObject();
  m_palette.DeleteObject();
}
