#include "client/widgets/BitmapStatic.h"

BEGIN_MESSAGE_MAP(CBitmapStatic, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CBitmapStatic::SetBitmaps(UINT imageId, UINT maskId) {
  m_image.DeleteObject();
  m_mask.DeleteObject();
  if (!m_image.LoadBitmap(imageId)) return FALSE;
  if (!m_mask.LoadBitmap(maskId)) return FALSE;
  // Black out the picture wherever the mask lets the background through, so that ORing it onto
  // the cleared background later leaves that background untouched.
  CBitmap inverted;
  if (!inverted.LoadBitmap(maskId)) return FALSE;
  BITMAP info{};
  m_image.GetBitmap(&info);
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CDC maskDc, imageDc;
  maskDc.CreateCompatibleDC(&screen);
  imageDc.CreateCompatibleDC(&screen);
  CBitmap* oldMask = maskDc.SelectObject(&inverted);
  CBitmap* oldImage = imageDc.SelectObject(&m_image);
  maskDc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &maskDc, 0, 0, NOTSRCCOPY);
  imageDc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &maskDc, 0, 0, SRCAND);
  maskDc.SelectObject(oldMask);
  imageDc.SelectObject(oldImage);
  ::ReleaseDC(nullptr, screen.Detach());
  return TRUE;
}

void CBitmapStatic::SizeToBitmap() {
  if (m_image.GetSafeHandle() == nullptr) return;
  BITMAP info{};
  m_image.GetBitmap(&info);
  SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
}

void CBitmapStatic::OnPaint() {
  CPaintDC dc(this);
  BITMAP info{};
  if (m_image.GetSafeHandle() == nullptr || m_mask.GetSafeHandle() == nullptr || !m_image.GetBitmap(&info)) return;
  CRect client;
  GetClientRect(&client);
  const int x = (client.Width() - info.bmWidth) / 2;
  const int y = (client.Height() - info.bmHeight) / 2;
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap* old = memory.SelectObject(&m_mask);
  dc.BitBlt(x, y, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCAND);
  memory.SelectObject(&m_image);
  dc.BitBlt(x, y, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCPAINT);
  memory.SelectObject(old);
}
