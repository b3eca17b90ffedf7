#include "orvanta/widgets/SkinButton.h"

#include <platform/gdi.h>

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_KILLFOCUS()
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

CSkinButton::CSkinButton() {
  m_labelFont.CreateFont(13, 0, 4, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
}

CSkinButton::~CSkinButton() { FreeImages(); }

BOOL CSkinButton::LoadBitmaps(UINT id) {
  FreeImages();
  CBitmap strip;
  if (!strip.LoadBitmap(id))
    return FALSE;
  BITMAP info{};
  strip.GetBitmap(&info);
  const int width = info.bmWidth;
  const int height = info.bmHeight / 3;
  if (width <= 0 || height <= 0)
    return FALSE;
  CWindowDC screen(nullptr);
  CDC source;
  CDC target;
  source.CreateCompatibleDC(&screen);
  target.CreateCompatibleDC(&screen);
  CBitmap* oldSource = source.SelectObject(&strip);
  CBitmap* images[3] = {&m_normal, &m_hover, &m_disabled};
  for (int i = 0; i < 3; ++i) {
    images[i]->CreateCompatibleBitmap(&screen, width, height);
    CBitmap* oldTarget = target.SelectObject(images[i]);
    target.BitBlt(0, 0, width, height, &source, 0, SourceRow(i, height), SRCCOPY);
    target.SelectObject(oldTarget);
  }
  source.SelectObject(oldSource);
  m_nImageWidth = width;
  m_nImageHeight = height;
  m_nBitmapId = id;
  if (m_hWnd)
    ModifyStyle(0, BS_OWNERDRAW);
  return TRUE;
}

void CSkinButton::SizeToBitmap() {
  SetWindowPos(nullptr, 0, 0, m_nImageWidth, m_nImageHeight, SWP_NOMOVE | SWP_NOZORDER);
}

BOOL CSkinButton::EnableWindow(BOOL enable) {
  const BOOL result = CWnd::EnableWindow(enable);
  const BOOL enabled = IsWindowEnabled();
  if (enabled && m_nState == kDisabled) {
    m_nState = kNormal;
    Invalidate(TRUE);
  } else if (!enabled && m_nState != kDisabled) {
    m_nState = kDisabled;
    Invalidate(TRUE);
  }
  return result;
}

void CSkinButton::SetText(const CString& text) {
  m_strLabel = text;
  m_bHasLabel = TRUE;
}

void CSkinButton::FreeImages() {
  m_normal.DeleteObject();
  m_hover.DeleteObject();
  m_disabled.DeleteObject();
  m_nImageWidth = 0;
  m_nImageHeight = 0;
  m_nBitmapId = 0;
  m_bTracking = FALSE;
  m_nState = kNormal;
}

BOOL CSkinButton::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= BS_OWNERDRAW;
  return CButton::PreCreateWindow(cs);
}

void CSkinButton::SetTipText(const CString& text) {
  if (!m_hWnd)
    return;
  if (!m_pTip) {
    auto tip = std::make_unique<CToolTipCtrl>();
    if (!tip->Create(this) || !tip->AddTool(this, text))
      return;
    m_pTip = std::move(tip);
    return;
  }
  m_pTip->UpdateTipText(text, this);
}

CString CSkinButton::GetTipText() const {
  CString text;
  if (m_pTip && m_pTip->GetSafeHwnd())
    m_pTip->GetText(text, const_cast<CSkinButton*>(this));
  return text;
}

BOOL CSkinButton::PreTranslateMessage(MSG* msg) {
  if (m_pTip && m_pTip->GetSafeHwnd())
    m_pTip->RelayEvent(msg);
  return CButton::PreTranslateMessage(msg);
}

void CSkinButton::PostNcDestroy() {
  if (m_pTip && m_pTip->GetSafeHwnd())
    m_pTip->DestroyWindow();
  m_pTip.reset();
  FreeImages();
  CButton::PostNcDestroy();
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT item) {
  if (GetStyle() & WS_DISABLED)
    m_nState = kDisabled;
  CBitmap* images[3] = {&m_normal, &m_hover, &m_disabled};
  if (m_nState < kNormal || m_nState > kDisabled || m_nImageWidth == 0)
    return;
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect client;
  GetClientRect(&client);
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap* old = memory.SelectObject(images[m_nState]);
  const int x = (client.Width() - m_nImageWidth) / 2;
  const int y = (client.Height() - m_nImageHeight) / 2;
  dc->BitBlt(x, y, m_nImageWidth, m_nImageHeight, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
  if (!m_bHasLabel)
    return;
  CFont* oldFont = dc->SelectObject(&m_labelFont);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const COLORREF oldColour = dc->SetTextColor(m_nState == kHover ? RGB(0, 64, 128) : RGB(0, 0, 0));
  CRect text = client;
  text.left += 30;
  text.top += 3;
  dc->DrawText(m_strLabel, m_strLabel.GetLength(), &text, DT_VCENTER);
  dc->SetTextColor(oldColour);
  dc->SetBkMode(oldMode);
  dc->SelectObject(oldFont);
}

BOOL CSkinButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CSkinButton::ShowState(int state) {
  m_nState = IsWindowEnabled() ? state : kDisabled;
  Invalidate(TRUE);
}

void CSkinButton::OnMouseMove(UINT flags, CPoint point) {
  CButton::OnMouseMove(flags, point);
  if (m_bTracking && GetCapture() == this) {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
      ReleaseCapture();
      m_bTracking = FALSE;
      ShowState(kNormal);
    }
    return;
  }
  m_bTracking = TRUE;
  SetCapture();
  ShowState(kHover);
}

void CSkinButton::OnLButtonDown(UINT flags, CPoint point) {
  if (GetFocus() != this)
    SetFocus();
  CButton::OnLButtonDown(flags, point);
}

void CSkinButton::OnLButtonUp(UINT flags, CPoint point) {
  const HWND self = m_hWnd;
  CButton::OnLButtonUp(flags, point);
  if (::IsWindow(self) && GetFocus() != this)
    SetFocus();
}

void CSkinButton::OnKillFocus(CWnd* newWnd) {
  if (m_nState != kDisabled)
    m_nState = kNormal;
  m_bTracking = FALSE;
  CButton::OnKillFocus(newWnd);
  Invalidate(TRUE);
}
