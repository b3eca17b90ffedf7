#include "SpinModel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/time.h"

namespace platform::detail {
namespace {

constexpr UINT_PTR kRepeatTimer = 0x5B1;
// A held arrow waits this long before it repeats, then repeats this often.
constexpr UINT kFirstRepeatMs = 500;
constexpr UINT kRepeatMs = 100;

// The step of a held arrow after it has been held this long: the control's default acceleration.
int AcceleratedStep(DWORD heldMs) {
  if (heldMs >= 5000) return 20;
  if (heldMs >= 2000) return 5;
  return 1;
}

}  // namespace

bool SpinModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case UDM_SETRANGE:
      m_max = static_cast<SHORT>(LOWORD(lParam));
      m_min = static_cast<SHORT>(HIWORD(lParam));
      SetPos(m_pos);
      return true;
    case UDM_SETRANGE32:
      m_min = static_cast<int>(wParam);
      m_max = static_cast<int>(lParam);
      SetPos(m_pos);
      return true;
    case UDM_GETRANGE: result = MAKELONG(static_cast<WORD>(m_max), static_cast<WORD>(m_min)); return true;
    case UDM_GETRANGE32:
      if (wParam) *reinterpret_cast<int*>(wParam) = m_min;
      if (lParam) *reinterpret_cast<int*>(lParam) = m_max;
      return true;
    case UDM_SETPOS:
    case UDM_SETPOS32:
      result = m_pos;
      SetPos(static_cast<int>(message == UDM_SETPOS ? static_cast<SHORT>(LOWORD(lParam)) : lParam));
      return true;
    case UDM_GETPOS:
    case UDM_GETPOS32:
      if (m_buddy && (Style() & UDS_SETBUDDYINT)) SetPos(ReadBuddy());
      result = message == UDM_GETPOS ? static_cast<LRESULT>(static_cast<WORD>(m_pos)) : m_pos;
      return true;
    case UDM_SETBUDDY:
      result = reinterpret_cast<LRESULT>(m_buddy);
      m_buddy = reinterpret_cast<HWND>(wParam);
      ShowInBuddy();
      return true;
    case UDM_GETBUDDY: result = reinterpret_cast<LRESULT>(m_buddy); return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      m_pressed = ArrowAt(point);
      m_over = true;
      m_pressedAt = ::GetTickCount();
      ::SetCapture(Hwnd());
      Redraw();
      const HWND self = Hwnd();
      int direction = m_min <= m_max ? 1 : -1;
      Step(m_pressed * direction);
      // The parent, told of the step, may have closed the control or taken the mouse away.
      if (::IsWindow(self) && m_pressed) ::SetTimer(self, kRepeatTimer, kFirstRepeatMs, nullptr);
      return true;
    }
    case WM_MOUSEMOVE: {
      if (!m_pressed) return false;
      POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      RECT client = Client();
      bool over = PtInRect(&client, point) && ArrowAt(point) == m_pressed;
      if (over != m_over) {
        m_over = over;
        Redraw();  // the arrow shows pressed only while the pointer is on it
      }
      return true;
    }
    case WM_TIMER:
      if (wParam != kRepeatTimer) return false;
      Repeat();
      return true;
    case WM_LBUTTONUP:
      if (::GetCapture() == Hwnd()) ::ReleaseCapture();
      Release();
      return true;
    case WM_CAPTURECHANGED: Release(); return true;
    default: return false;
  }
}

void SpinModel::SetPos(int pos) {
  int low = std::min(m_min, m_max);
  int high = std::max(m_min, m_max);
  m_pos = std::clamp(pos, low, high);
  ShowInBuddy();
}

void SpinModel::Step(int delta) {
  NMUPDOWN nm{};
  nm.iPos = m_pos;
  nm.iDelta = delta;
  const HWND self = Hwnd();
  if (Notify(nm.hdr, UDN_DELTAPOS) || !::IsWindow(self)) return;
  int low = std::min(m_min, m_max);
  int high = std::max(m_min, m_max);
  int next = m_pos + nm.iDelta;
  if (Style() & UDS_WRAP) {
    if (next > high) next = low;
    if (next < low) next = high;
  }
  SetPos(next);
  SendScroll(SB_THUMBPOSITION);
}

void SpinModel::Repeat() {
  if (!m_pressed || ::GetCapture() != Hwnd()) {
    Release();
    return;
  }
  ::SetTimer(Hwnd(), kRepeatTimer, kRepeatMs, nullptr);
  if (!m_over) return;
  int direction = m_min <= m_max ? 1 : -1;
  Step(m_pressed * direction * AcceleratedStep(::GetTickCount() - m_pressedAt));
}

int SpinModel::ArrowAt(POINT point) const {
  RECT raise{}, lower{};
  Halves(Client(), raise, lower);
  return PtInRect(&raise, point) ? 1 : -1;
}

void SpinModel::Release() {
  ::KillTimer(Hwnd(), kRepeatTimer);
  if (!m_pressed) return;
  m_pressed = 0;
  m_over = false;
  Redraw();
  SendScroll(SB_ENDSCROLL);
}

void SpinModel::SendScroll(WORD code) {
  HWND parent = ::GetParent(Hwnd());
  if (!parent) return;
  WORD position = code == SB_THUMBPOSITION ? static_cast<WORD>(m_pos) : 0;
  ::SendMessage(parent, (Style() & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, position),
                reinterpret_cast<LPARAM>(Hwnd()));
}

void SpinModel::Halves(const RECT& client, RECT& raise, RECT& lower) const {
  raise = lower = client;
  if (Style() & UDS_HORZ) {
    lower.right = raise.left = (client.left + client.right) / 2;
  } else {
    raise.bottom = lower.top = (client.top + client.bottom) / 2;
  }
}

void SpinModel::ShowInBuddy() {
  if (!m_buddy || !(Style() & UDS_SETBUDDYINT) || !::IsWindow(m_buddy)) return;
  char text[16];
  std::snprintf(text, sizeof text, "%d", m_pos);
  ::SetWindowText(m_buddy, text);
}

int SpinModel::ReadBuddy() const {
  char text[32] = {};
  ::GetWindowText(m_buddy, text, sizeof text);
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  return end == text ? m_pos : static_cast<int>(std::clamp<long>(value, -0x7FFFFFFF, 0x7FFFFFFF));
}

void SpinModel::Paint(CDC& dc, const RECT& client) {
  RECT raise{}, lower{};
  Halves(client, raise, lower);
  bool horizontal = (Style() & UDS_HORZ) != 0;
  const int shown = m_over ? m_pressed : 0;
  dc.DrawFrameControl(&raise, DFC_BUTTON, DFCS_BUTTONPUSH | (shown > 0 ? DFCS_PUSHED : 0));
  dc.DrawFrameControl(&lower, DFC_BUTTON, DFCS_BUTTONPUSH | (shown < 0 ? DFCS_PUSHED : 0));
  DrawArrow(dc, raise, horizontal ? ArrowDirection::Right : ArrowDirection::Up);
  DrawArrow(dc, lower, horizontal ? ArrowDirection::Left : ArrowDirection::Down);
}

}  // namespace platform::detail
