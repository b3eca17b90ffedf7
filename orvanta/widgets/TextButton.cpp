#include "orvanta/widgets/TextButton.h"

#include <platform/gdi.h>

BEGIN_MESSAGE_MAP(CTextButton, CButton)
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_KILLFOCUS()
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

CTextButton::CTextButton() {
  m_captionFont.CreateFont(12, 0, 2, 0, FW_THIN, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
}

CTextButton::~CTextButton() = default;

void CTextButton::LoadBitmap(UINT id) {
  m_face.DeleteObject();
  m_faceInfo = BITMAP{};
  if (m_face.LoadBitmap(id))
    m_face.GetBitmap(&m_faceInfo);
}

CString CTextButton::CaptionForKind(const CString& kind) {
  if (kind == "3")
    return "TEACHING  GAME";
  if (kind == "2")
    return "ORVANTA GAME";
  return "NO TOUCH ... CAUTION";
}

void CTextButton::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  const CRect rect(item->rcItem);
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap* old = m_face.GetSafeHandle() ? memory.SelectObject(&m_face) : nullptr;
  const int half = m_faceInfo.bmHeight / 2;
  if (m_bPressed)
    dc->BitBlt(0, 0, rect.Width(), rect.Height(), &memory, 0, half, SRCCOPY);
  else
    dc->BitBlt(0, 0, m_faceInfo.bmWidth, half, &memory, 0, 0, SRCCOPY);
  if (old)
    memory.SelectObject(old);
  if (m_strText.IsEmpty())
    return;
  const int letterHeight = dc->GetTextExtent("A", 1).cy;
  CFont* oldFont = dc->SelectObject(&m_captionFont);
  const COLORREF oldColour = dc->SetTextColor(RGB(255, 255, 255));
  dc->SetBkMode(TRANSPARENT);
  const CString caption = CaptionForKind(m_strKind);
  dc->TextOut(rect.left + 40, rect.top + (rect.Height() - letterHeight) / 2, caption, caption.GetLength());
  dc->SetBkMode(OPAQUE);
  dc->SetTextColor(oldColour);
  dc->SelectObject(oldFont);
}

void CTextButton::RepaintOrFocus() {
  if (GetFocus() == this) {
    Invalidate(TRUE);
    UpdateWindow();
  } else {
    SetFocus();
  }
}

void CTextButton::OnLButtonDown(UINT flags, CPoint point) {
  CButton::OnLButtonDown(flags, point);
  m_bPressed = TRUE;
  RepaintOrFocus();
}

void CTextButton::OnMouseMove(UINT flags, CPoint point) {
  CButton::OnMouseMove(flags, point);
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point) && m_bPressed) {
    m_bPressed = FALSE;
    Invalidate(TRUE);
    UpdateWindow();
  }
}

void CTextButton::OnLButtonUp(UINT, CPoint) {
  if (!m_bPressed) {
    // A press dragged out of the button is no click: the standard button's own click on release
    // is not let through.
    if (GetCapture() == this)
      ReleaseCapture();
    return;
  }
  if (GetCapture() == this)
    ReleaseCapture();
  m_bPressed = FALSE;
  RepaintOrFocus();
  if (CWnd* parent = GetParent())
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
}

void CTextButton::OnKillFocus(CWnd* newWnd) {
  CButton::OnKillFocus(newWnd);
  m_bPressed = FALSE;
  Invalidate(TRUE);
  UpdateWindow();
}
