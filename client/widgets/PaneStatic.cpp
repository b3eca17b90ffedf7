#include "client/widgets/PaneStatic.h"

#include "client/images/Image.h"
#include "client/images/ImagePalette.h"

BEGIN_MESSAGE_MAP(CPaneStatic, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void CPaneStatic::OnPaint() {
  CPaintDC dc(this);
  // An image that was never given a file has nothing to show; the parent's background stays.
  if (m_image == nullptr || m_image->GetFileName().IsEmpty() || !m_image->IsValid()) return;
  CRect client;
  GetClientRect(&client);
  CPalette* oldPalette = nullptr;
  CImagePalette* palette = m_image->GetPalette();
  if (palette != nullptr) {
    oldPalette = dc.SelectPalette(palette, TRUE);
    dc.RealizePalette();
  }
  const int width = m_image->GetWidth();
  const int height = m_image->GetHeight();
  const int x = client.Width() / 2 - width / 2;
  const int y = client.Height() / 2 - height / 2;
  dc.IntersectClipRect(&client);
  m_image->Draw(&dc, x, y);
  if (oldPalette != nullptr) dc.SelectPalette(oldPalette, TRUE);
}
