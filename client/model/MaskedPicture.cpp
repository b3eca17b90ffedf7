#include "client/model/MaskedPicture.h"

#include "client/widgets/DrawUtilities.h"

BOOL CMaskedPicture::Load(UINT id, COLORREF transparent, CPalette& palette) {
  Unload();
  CBitmap loaded;
  if (!LoadSysColorBitmap(id, loaded, palette)) return FALSE;
  BITMAP size{};
  loaded.GetBitmap(&size);
  m_size = CSize(size.bmWidth, size.bmHeight);

  CClientDC screen(nullptr);
  m_image.CreateCompatibleBitmap(&screen, m_size.cx, m_size.cy);
  m_mask.CreateBitmap(m_size.cx, m_size.cy, 1, 1, nullptr);
  m_imageDC.CreateCompatibleDC(&screen);
  m_maskDC.CreateCompatibleDC(&screen);
  m_oldImage = m_imageDC.SelectObject(&m_image);
  m_oldMask = m_maskDC.SelectObject(&m_mask);
  {
    CDC source;
    source.CreateCompatibleDC(&screen);
    CBitmap* old = source.SelectObject(&loaded);
    m_imageDC.BitBlt(0, 0, m_size.cx, m_size.cy, &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
  }
  // Colour to monochrome: pixels of the background colour become white.
  m_imageDC.SetBkColor(transparent);
  m_maskDC.BitBlt(0, 0, m_size.cx, m_size.cy, &m_imageDC, 0, 0, SRCCOPY);
  // Monochrome to colour: white becomes the background colour (black), so ANDing clears the
  // transparent pixels and keeps the others.
  m_imageDC.SetBkColor(RGB(0, 0, 0));
  m_imageDC.SetTextColor(RGB(255, 255, 255));
  m_imageDC.BitBlt(0, 0, m_size.cx, m_size.cy, &m_maskDC, 0, 0, SRCAND);
  // The mask is kept in the screen's format too, black and white: ANDing it onto the board then
  // needs no colour conversion per pixel.
  CBitmap colourMask;
  colourMask.CreateCompatibleBitmap(&screen, m_size.cx, m_size.cy);
  {
    CDC colour;
    colour.CreateCompatibleDC(&screen);
    CBitmap* old = colour.SelectObject(&colourMask);
    colour.SetBkColor(RGB(255, 255, 255));
    colour.SetTextColor(RGB(0, 0, 0));
    colour.BitBlt(0, 0, m_size.cx, m_size.cy, &m_maskDC, 0, 0, SRCCOPY);
    colour.SelectObject(old);
  }
  m_maskDC.SelectObject(m_oldMask);
  m_mask.DeleteObject();
  m_mask.Attach(colourMask.Detach());
  m_oldMask = m_maskDC.SelectObject(&m_mask);
  return TRUE;
}

void CMaskedPicture::Unload() {
  if (m_imageDC.GetSafeHdc()) {
    m_imageDC.SelectObject(m_oldImage);
    m_imageDC.DeleteDC();
  }
  if (m_maskDC.GetSafeHdc()) {
    m_maskDC.SelectObject(m_oldMask);
    m_maskDC.DeleteDC();
  }
  m_oldImage = nullptr;
  m_oldMask = nullptr;
  m_image.DeleteObject();
  m_mask.DeleteObject();
  m_size = CSize(0, 0);
}

void CMaskedPicture::Draw(CDC* dc, int x, int y) {
  if (!IsLoaded()) return;
  dc->BitBlt(x, y, m_size.cx, m_size.cy, &m_maskDC, 0, 0, SRCAND);
  dc->BitBlt(x, y, m_size.cx, m_size.cy, &m_imageDC, 0, 0, SRCPAINT);
}
