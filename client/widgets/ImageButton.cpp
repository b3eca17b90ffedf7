#include "client/widgets/ImageButton.h"

#include <algorithm>


namespace {

// A copy of bitmap resource id at width x height (stretched when the sizes differ), or null.
HBITMAP LoadSizedCopy(UINT id, int width, int height) {
  CBitmap source;
  if (!source.LoadBitmap(id)) return nullptr;
  BITMAP info{};
  source.GetBitmap(&info);
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CDC from, to;
  from.CreateCompatibleDC(&screen);
  to.CreateCompatibleDC(&screen);
  CBitmap sized;
  sized.CreateCompatibleBitmap(&screen, width, height);
  CBitmap* oldFrom = from.SelectObject(&source);
  CBitmap* oldTo = to.SelectObject(&sized);
  to.StretchBlt(0, 0, width, height, &from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  from.SelectObject(oldFrom);
  to.SelectObject(oldTo);
  ::ReleaseDC(nullptr, screen.Detach());
  return reinterpret_cast<HBITMAP>(sized.Detach());
}

}  // namespace

CImageButton::~CImageButton() { FreeBitmaps(); }

BOOL CImageButton::LoadBitmaps(UINT id, int width, int height) {
  FreeBitmaps();
  m_normal = LoadSizedCopy(id, width, height);
  m_disabled = LoadSizedCopy(id, width, height);
  if (m_normal == nullptr || m_disabled == nullptr) return FALSE;
  m_imageSize = CSize(width, height);
  if (m_hWnd) Invalidate();
  return TRUE;
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect rect(item->rcItem);
  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  const int offset = pressed ? 1 : 0;
  const bool disabled = (item->itemState & ODS_DISABLED) != 0;
  const UINT style = disabled ? DSS_DISABLED : DSS_NORMAL;
  HBITMAP image = disabled ? m_disabled : m_normal;
  const bool focusOnly = item->itemAction == ODA_FOCUS;
  if (!focusOnly) {
    dc->DrawFrameControl(&rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    CString caption;
    GetWindowText(caption);
    if (m_normal != nullptr) {
      const int x = caption.IsEmpty() ? rect.left + (rect.Width() - m_imageSize.cx) / 2 : rect.left + m_margin;
      const int y = rect.top + (rect.Height() - m_imageSize.cy) / 2;
      dc->DrawState(CPoint(x + offset, y + offset), m_imageSize, image, DST_BITMAP | style);
    }
    if (!caption.IsEmpty()) {
      const CSize extent = dc->GetTextExtent(caption);
      const int x = CaptionLeft(rect, extent.cx, m_normal != nullptr);
      const int y = rect.top + (rect.Height() - extent.cy) / 2;
      dc->DrawState(CPoint(x + offset, y + offset - 1), extent, caption, DST_PREFIXTEXT | style, TRUE, 0,
                    static_cast<HBRUSH>(nullptr));
    }
  }
  // The focus rectangle is drawn by inverting: a focus-only draw flips the one drawn before, a
  // whole draw starts from a clean face and so draws one only while the button has the focus.
  const bool focused = (item->itemState & ODS_FOCUS) != 0;
  const bool focusChanged = focused != ((m_lastState & ODS_FOCUS) != 0);
  if (!disabled && (focusOnly ? focusChanged : focused)) {
    const int d = std::min(3, static_cast<int>(std::min(rect.Width(), rect.Height()) / 4));
    CRect focus = rect;
    focus.DeflateRect(d, d);
    dc->DrawFocusRect(&focus);
  }
  m_lastAction = item->itemAction;
  m_lastState = item->itemState;
}

int CImageButton::CaptionLeft(const CRect& client, int textWidth, bool withImage) const {
  if (!withImage) return client.left + (client.Width() - textWidth) / 2;
  const int used = m_imageSize.cx + m_gap + m_margin;
  return client.left + used + std::max(0, static_cast<int>(client.Width()) - used - textWidth) / 2;
}

void CImageButton::FreeBitmaps() {
  if (m_normal) ::DeleteObject(reinterpret_cast<HGDIOBJ>(m_normal));
  if (m_disabled) ::DeleteObject(reinterpret_cast<HGDIOBJ>(m_disabled));
  m_normal = m_disabled = nullptr;
}
