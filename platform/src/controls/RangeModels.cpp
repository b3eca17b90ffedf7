#include "RangeModels.h"

#include <algorithm>

namespace platform::detail {
namespace {

constexpr int kThumbWidth = 10;

}  // namespace

bool ProgressModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case PBM_SETRANGE:
      result = MAKELONG(static_cast<WORD>(m_min), static_cast<WORD>(m_max));
      m_min = LOWORD(lParam);
      m_max = HIWORD(lParam);
      SetPos(m_pos);
      return true;
    case PBM_SETRANGE32:
      result = MAKELONG(static_cast<WORD>(m_min), static_cast<WORD>(m_max));
      m_min = static_cast<int>(wParam);
      m_max = static_cast<int>(lParam);
      SetPos(m_pos);
      return true;
    case PBM_GETRANGE: result = wParam ? m_min : m_max; return true;
    case PBM_SETPOS: result = SetPos(static_cast<int>(wParam)); return true;
    case PBM_DELTAPOS: result = SetPos(m_pos + static_cast<int>(wParam)); return true;
    case PBM_SETSTEP:
      result = m_step;
      m_step = static_cast<int>(wParam);
      return true;
    case PBM_STEPIT: {
      // Stepping past the end starts again from the beginning.
      int next = m_pos + m_step;
      if (next > m_max) next = m_min + (next - m_max);
      result = SetPos(next);
      return true;
    }
    case PBM_GETPOS: result = m_pos; return true;
    default: return false;
  }
}

int ProgressModel::SetPos(int pos) {
  int old = m_pos;
  m_pos = m_max > m_min ? std::clamp(pos, m_min, m_max) : m_min;
  if (m_pos != old) Redraw();
  return old;
}

void ProgressModel::Paint(CDC& dc, const RECT& client) {
  RECT r = client;
  FillFace(dc, r);
  DrawSunkenFrame(dc, r);
  if (m_max <= m_min) return;
  int width = static_cast<int>(static_cast<long long>(r.right - r.left) * (m_pos - m_min) / (m_max - m_min));
  RECT bar{r.left, r.top, r.left + width, r.bottom};
  dc.FillSolidRect(&bar, ::GetSysColor(COLOR_HIGHLIGHT));
}

bool TrackbarModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case TBM_GETPOS: result = m_pos; return true;
    case TBM_SETPOS: SetPos(static_cast<int>(lParam)); return true;
    case TBM_GETRANGEMIN: result = m_min; return true;
    case TBM_GETRANGEMAX: result = m_max; return true;
    case TBM_SETRANGE:
      m_min = static_cast<SHORT>(LOWORD(lParam));
      m_max = static_cast<SHORT>(HIWORD(lParam));
      SetPos(m_pos);
      return true;
    case TBM_SETRANGEMIN: m_min = static_cast<int>(lParam); SetPos(m_pos); return true;
    case TBM_SETRANGEMAX: m_max = static_cast<int>(lParam); SetPos(m_pos); return true;
    case TBM_SETPAGESIZE: result = m_page; m_page = static_cast<int>(lParam); return true;
    case TBM_GETPAGESIZE: result = m_page; return true;
    case TBM_SETLINESIZE: result = m_line; m_line = static_cast<int>(lParam); return true;
    case TBM_GETLINESIZE: result = m_line; return true;
    case WM_LBUTTONDOWN:
      ::SetFocus(Hwnd());
      ::SetCapture(Hwnd());
      m_dragging = true;
      UserMove(PosAt(CPoint(lParam)), TB_THUMBTRACK);
      return true;
    case WM_MOUSEMOVE:
      if (m_dragging) UserMove(PosAt(CPoint(lParam)), TB_THUMBTRACK);
      return true;
    case WM_LBUTTONUP:
      if (!m_dragging) return true;
      m_dragging = false;
      if (::GetCapture() == Hwnd()) ::ReleaseCapture();
      Tell(TB_THUMBPOSITION);
      Tell(TB_ENDTRACK);
      return true;
    case WM_CAPTURECHANGED:
      // The mouse was taken away mid-drag (a modal dialog disabled the window): the drag ends
      // where it is, and a later move with the button up does not go on with it.
      if (!m_dragging) return false;
      m_dragging = false;
      Tell(TB_ENDTRACK);
      return true;
    case WM_KEYDOWN: {
      int step = wParam == VK_LEFT || wParam == VK_UP ? -m_line : wParam == VK_RIGHT || wParam == VK_DOWN ? m_line
                 : wParam == VK_PRIOR ? -m_page : wParam == VK_NEXT ? m_page : 0;
      if (wParam == VK_HOME) UserMove(m_min, TB_TOP);
      if (wParam == VK_END) UserMove(m_max, TB_BOTTOM);
      if (step) UserMove(m_pos + step, step < 0 ? (std::abs(step) == m_page ? TB_PAGEUP : TB_LINEUP) : (step == m_page ? TB_PAGEDOWN : TB_LINEDOWN));
      return true;
    }
    case WM_KEYUP: Tell(TB_ENDTRACK); return true;
    default: return false;
  }
}

void TrackbarModel::SetPos(int pos) {
  m_pos = m_max > m_min ? std::clamp(pos, m_min, m_max) : m_min;
  Redraw();
}

void TrackbarModel::UserMove(int pos, UINT code) {
  SetPos(pos);
  Tell(code);
}

void TrackbarModel::Tell(UINT code) {
  HWND parent = ::GetParent(Hwnd());
  if (!parent) return;
  WORD pos = code == TB_THUMBTRACK || code == TB_THUMBPOSITION ? static_cast<WORD>(m_pos) : 0;
  ::SendMessage(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(code), pos),
                reinterpret_cast<LPARAM>(Hwnd()));
}

int TrackbarModel::PosAt(POINT point) const {
  RECT client = Client();
  int length = (Vertical() ? client.bottom : client.right) - kThumbWidth;
  int at = (Vertical() ? point.y : point.x) - kThumbWidth / 2;
  if (length <= 0 || m_max <= m_min) return m_min;
  return m_min + static_cast<int>((static_cast<long long>(std::clamp(at, 0, length)) * (m_max - m_min) + length / 2) / length);
}

RECT TrackbarModel::Thumb() const {
  RECT client = Client();
  int length = (Vertical() ? client.bottom : client.right) - kThumbWidth;
  int offset = m_max > m_min ? static_cast<int>(static_cast<long long>(length) * (m_pos - m_min) / (m_max - m_min)) : 0;
  if (Vertical()) return RECT{client.left + 2, offset, client.right - 2, offset + kThumbWidth};
  return RECT{offset, client.top + 2, offset + kThumbWidth, client.bottom - 2};
}

void TrackbarModel::Paint(CDC& dc, const RECT& client) {
  FillFace(dc, client);
  RECT channel = Vertical() ? RECT{(client.right / 2) - 2, 4, (client.right / 2) + 2, client.bottom - 4}
                            : RECT{4, (client.bottom / 2) - 2, client.right - 4, (client.bottom / 2) + 2};
  dc.DrawEdge(&channel, EDGE_SUNKEN, BF_RECT);
  RECT thumb = Thumb();
  dc.FillSolidRect(&thumb, ::GetSysColor(COLOR_BTNFACE));
  dc.DrawEdge(&thumb, EDGE_RAISED, BF_RECT);
}

}  // namespace platform::detail
