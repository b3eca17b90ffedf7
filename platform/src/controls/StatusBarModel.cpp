#include "StatusBarModel.h"

#include <algorithm>
#include <cstring>

namespace platform::detail {
namespace {

constexpr int kMaxParts = 256;

}  // namespace

bool StatusBarModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  int pane = static_cast<int>(LOBYTE(wParam));
  switch (message) {
    case SB_SETPARTS: result = SetParts(static_cast<int>(wParam), reinterpret_cast<const int*>(lParam)); break;
    case SB_GETPARTS: {
      int count = static_cast<int>(m_panes.size());
      auto* out = reinterpret_cast<int*>(lParam);
      for (int i = 0; out && i < std::min(count, static_cast<int>(wParam)); ++i) out[i] = m_panes[static_cast<std::size_t>(i)].right;
      result = count;
      return true;
    }
    case SB_SETTEXT:
      if (!Valid(pane)) { result = FALSE; return true; }
      m_panes[static_cast<std::size_t>(pane)].text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      m_panes[static_cast<std::size_t>(pane)].kind = static_cast<UINT>(wParam) & 0xFF00;
      result = TRUE;
      break;
    case SB_GETTEXT:
    case SB_GETTEXTLENGTH: {
      if (!Valid(pane)) { result = 0; return true; }
      const Pane& p = m_panes[static_cast<std::size_t>(pane)];
      if (message == SB_GETTEXT && lParam) std::strcpy(reinterpret_cast<char*>(lParam), p.text.c_str());
      result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(p.text.size()), static_cast<WORD>(p.kind)));
      return true;
    }
    case SB_GETRECT:
      if (!Valid(static_cast<int>(wParam)) || !lParam) { result = FALSE; return true; }
      *reinterpret_cast<RECT*>(lParam) = PaneRect(static_cast<int>(wParam));
      result = TRUE;
      return true;
    case WM_SETTEXT:
      ::DefWindowProc(Hwnd(), message, wParam, lParam);
      m_panes[0].text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      result = TRUE;
      break;
    default: return false;
  }
  Redraw();
  return true;
}

// Right edges must not go back; -1 (only last) reaches the end of the bar.
bool StatusBarModel::SetParts(int count, const int* rights) {
  if (!rights || count <= 0 || count > kMaxParts) return false;
  for (int i = 1; i < count; ++i) {
    if (rights[i - 1] == -1 || (rights[i] != -1 && rights[i] < rights[i - 1])) return false;
  }
  m_panes.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) m_panes[static_cast<std::size_t>(i)].right = rights[i];
  return true;
}

RECT StatusBarModel::PaneRect(int pane) const {
  RECT client = Client();
  int left = pane == 0 ? 0 : m_panes[static_cast<std::size_t>(pane - 1)].right + 2;
  int right = m_panes[static_cast<std::size_t>(pane)].right;
  if (right < 0 || right > client.right) right = client.right;
  return RECT{std::min(left, static_cast<int>(right)), client.top + 2, right, client.bottom};
}

void StatusBarModel::Paint(CDC& dc, const RECT& client) {
  FillFace(dc, client);
  for (int i = 0; i < static_cast<int>(m_panes.size()); ++i) {
    const Pane& p = m_panes[static_cast<std::size_t>(i)];
    RECT r = PaneRect(i);
    if (p.kind & SBT_OWNERDRAW) {
      DRAWITEMSTRUCT item{0, static_cast<UINT>(Id()), static_cast<UINT>(i), ODA_DRAWENTIRE, 0, Hwnd(), dc.GetSafeHdc(), r, 0};
      HWND parent = ::GetParent(Hwnd());
      if (parent) ::SendMessage(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
      continue;
    }
    if (!(p.kind & SBT_NOBORDERS)) dc.DrawEdge(&r, (p.kind & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    r.left += 2;
    DrawLabel(dc, CString(p.text.c_str()), r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS, true);
  }
}

}  // namespace platform::detail
