// The rebar: bands of child windows stacked along the top of a frame.
#include "platform/rebar.h"

#include <algorithm>

#include "platform/gdi.h"

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

constexpr int kBorder = 2;  // etched line above and below the bands

}  // namespace

BOOL CReBar::Create(CWnd* parent, DWORD style, UINT id) { return CreateBar(parent, style, id, false); }

BOOL CReBar::AddBar(CWnd* child, LPCTSTR, CBitmap*, DWORD bandStyle) {
  if (!child || !child->GetSafeHwnd() || child->GetParent() != this)
    return FALSE;
  m_bands.push_back(Band{child, bandStyle});
  CRect client;
  GetClientRect(&client);
  OnBarResized(client.Width(), client.Height());
  return TRUE;
}

DWORD CReBar::GetBandStyle(int index) const {
  return index >= 0 && index < GetBandCount() ? m_bands[static_cast<std::size_t>(index)].style : 0;
}

int CReBar::BandHeight(const Band& band) const {
  if (auto* bar = dynamic_cast<CControlBar*>(band.child))
    return bar->GetBarHeight();
  CRect rect;
  band.child->GetWindowRect(&rect);
  return rect.Height();
}

int CReBar::ChildLeft(const Band& band) const {
  return (band.style & RBBS_NOGRIPPER) != 0 ? kBorder : kBorder + kGripperWidth;
}

int CReBar::GetBarHeight() const {
  int height = 0;
  for (const Band& band : m_bands)
    if ((band.style & RBBS_HIDDEN) == 0)
      height += BandHeight(band);
  return height + 2 * kBorder;
}

CRect CReBar::GetBandRect(int index) const {
  if (index < 0 || index >= GetBandCount())
    return CRect();
  CRect client;
  GetClientRect(&client);
  int top = kBorder;
  for (int i = 0; i < index; ++i)
    if ((m_bands[static_cast<std::size_t>(i)].style & RBBS_HIDDEN) == 0)
      top += BandHeight(m_bands[static_cast<std::size_t>(i)]);
  const Band& band = m_bands[static_cast<std::size_t>(index)];
  const int height = (band.style & RBBS_HIDDEN) != 0 ? 0 : BandHeight(band);
  return CRect(0, top, client.right, top + height);
}

void CReBar::OnBarResized(int, int) {
  for (int i = 0; i < GetBandCount(); ++i) {
    const Band& band = m_bands[static_cast<std::size_t>(i)];
    if (!band.child->GetSafeHwnd())
      continue;
    const CRect rect = GetBandRect(i);
    const int left = ChildLeft(band);
    band.child->MoveWindow(left, rect.top, std::max(0, static_cast<int>(rect.right) - left - kBorder), rect.Height());
    band.child->ShowWindow((band.style & RBBS_HIDDEN) != 0 ? SW_HIDE : SW_SHOW);
  }
  Invalidate(TRUE);
}

void CReBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
  for (const Band& band : m_bands)
    if (auto* bar = dynamic_cast<CControlBar*>(band.child))
      bar->OnUpdateCmdUI(target, disableIfNoHandler);
}

BOOL CReBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CReBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  CRect edge = client;
  dc.DrawEdge(&edge, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
  for (int i = 0; i < GetBandCount(); ++i) {
    const Band& band = m_bands[static_cast<std::size_t>(i)];
    if ((band.style & (RBBS_HIDDEN | RBBS_NOGRIPPER)) != 0)
      continue;
    // The gripper: two raised lines at the band's left.
    const CRect rect = GetBandRect(i);
    for (int x : {kBorder + 1, kBorder + 4}) {
      CRect line(x, rect.top + 2, x + 3, rect.bottom - 2);
      dc.DrawEdge(&line, BDR_RAISEDINNER, BF_RECT);
    }
  }
}
