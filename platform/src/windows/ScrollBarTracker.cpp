#include "ScrollBarTracker.h"

#include "ScrollBarPainter.h"

#include <cstdlib>

namespace platform::detail {
namespace {

// A held arrow or track waits this long before it repeats, then repeats this often.
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;

UINT CodeOf(ScrollBarPart part) {
  switch (part) {
    case ScrollBarPart::LineUp: return SB_LINEUP;
    case ScrollBarPart::PageUp: return SB_PAGEUP;
    case ScrollBarPart::PageDown: return SB_PAGEDOWN;
    default: return SB_LINEDOWN;
  }
}

}  // namespace

ScrollBarTracker& ScrollBarTracker::Current() {
  static ScrollBarTracker tracker;
  return tracker;
}

int ScrollBarTracker::HitCode() const { return m_bar == SB_VERT ? HTVSCROLL : HTHSCROLL; }

void ScrollBarTracker::Press(HWND hwnd, int hitCode, POINT screen) {
  if (m_hwnd) Finish();
  WindowState* s = Find(hwnd);
  if (!s || (hitCode != HTVSCROLL && hitCode != HTHSCROLL)) return;
  int bar = hitCode == HTVSCROLL ? SB_VERT : SB_HORZ;
  m_hwnd = hwnd;
  m_bar = bar;
  m_point = ToWindow(screen);
  ScrollBarGeometry geometry = Geometry();
  m_part = geometry.Enabled() ? geometry.PartAt(m_point) : ScrollBarPart::None;
  if (m_part == ScrollBarPart::None) {
    m_hwnd = nullptr;
    return;
  }
  ::SetCapture(hwnd);
  s = Find(hwnd);  // the window that lost the capture was told, and may have done anything
  if (!Tracking(hwnd)) return;
  if (!s) {
    Drop();
    return;
  }
  if (m_part == ScrollBarPart::Thumb) {
    m_grab = geometry.Along(m_point) - geometry.ThumbStart();
    m_trackPos = s->scrollBars[bar].pos;
    s->scrollBars[bar].trackPos = m_trackPos;
    RedrawBar();
    return;
  }
  Step();
  if (m_hwnd) Arm(kFirstRepeatMs);
}

void ScrollBarTracker::Move(HWND hwnd, POINT screen) {
  if (!Tracking(hwnd)) return;
  if (!StillOurs()) {
    Finish();
    return;
  }
  ScrollBarPart before = HeldPart(hwnd, m_bar);
  m_point = ToWindow(screen);
  if (m_part == ScrollBarPart::Thumb) {
    DragTo(Geometry().Along(m_point) - m_grab);
  } else if (HeldPart(hwnd, m_bar) != before) {
    RedrawBar();  // the held part shows pressed only while the pointer is over it
  }
}

void ScrollBarTracker::Release(HWND hwnd, POINT screen) {
  if (!Tracking(hwnd)) return;
  m_point = ToWindow(screen);
  if (m_part == ScrollBarPart::Thumb && StillOurs()) {
    DragTo(Geometry().Along(m_point) - m_grab);
    if (Tracking(hwnd)) Send(SB_THUMBPOSITION, m_trackPos);
  }
  if (Tracking(hwnd)) Finish();
}

void ScrollBarTracker::Forget(HWND hwnd) {
  if (Tracking(hwnd)) Drop();
}

void ScrollBarTracker::CaptureLost(HWND hwnd) {
  if (Tracking(hwnd) && ::GetCapture() != hwnd) Finish();
}

ScrollBarPart ScrollBarTracker::HeldPart(HWND hwnd, int bar) const {
  if (!Tracking(hwnd) || bar != m_bar) return ScrollBarPart::None;
  if (m_part == ScrollBarPart::Thumb) return m_part;
  return Geometry().PartAt(m_point) == m_part ? m_part : ScrollBarPart::None;
}

int ScrollBarTracker::ThumbPos(HWND hwnd, int bar, int pos) const {
  return Tracking(hwnd) && bar == m_bar && m_part == ScrollBarPart::Thumb ? m_trackPos : pos;
}

void ScrollBarTracker::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  ScrollBarTracker& tracker = Current();
  if (id == tracker.m_timer) tracker.Repeat();
}

void ScrollBarTracker::Repeat() {
  if (!m_hwnd || !Find(m_hwnd)) {
    Drop();
  } else if (!StillOurs()) {
    Finish();
  } else {
    Step();
    if (m_hwnd) Arm(kRepeatMs);
  }
}

void ScrollBarTracker::Step() {
  bool over = Geometry().PartAt(m_point) == m_part;
  // A track held down stops once the thumb has come under the pointer.
  if (over) Send(CodeOf(m_part));
  if (StillOurs()) RedrawBar();
}

void ScrollBarTracker::DragTo(int along) {
  int pos = Geometry().PosAtThumbStart(along);
  if (pos == m_trackPos) return;
  m_trackPos = pos;
  if (WindowState* s = Find(m_hwnd)) s->scrollBars[m_bar].trackPos = pos;
  Send(SB_THUMBTRACK, pos);
  if (StillOurs()) RedrawBar();
}

void ScrollBarTracker::Send(UINT code, int pos) {
  HWND hwnd = m_hwnd;
  ::SendMessage(hwnd, m_bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
                MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0);
  // The window may have ended the gesture in its handler (closed, took the capture, ...).
  if (m_hwnd != hwnd) return;
  if (!Find(hwnd)) {
    Drop();
  } else if (::GetCapture() != hwnd) {
    Finish();
  }
}

void ScrollBarTracker::Arm(UINT delay) {
  Disarm();
  m_timer = ::SetTimer(nullptr, 0, delay, &ScrollBarTracker::OnTimer);
}

void ScrollBarTracker::Disarm() {
  if (m_timer) ::KillTimer(nullptr, m_timer);
  m_timer = 0;
}

void ScrollBarTracker::Finish() {
  HWND hwnd = m_hwnd;
  int bar = m_bar;
  Drop();
  if (!Find(hwnd)) return;
  if (::GetCapture() == hwnd) ::ReleaseCapture();
  if (Find(hwnd)) ::SendMessage(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
  if (Find(hwnd)) ScrollBarPainter(hwnd).Paint();
}

void ScrollBarTracker::Drop() {
  Disarm();
  m_hwnd = nullptr;
  m_part = ScrollBarPart::None;
}

bool ScrollBarTracker::StillOurs() const { return m_hwnd && Find(m_hwnd) && ::GetCapture() == m_hwnd; }

ScrollBarGeometry ScrollBarTracker::Geometry() const {
  if (const WindowState* s = Find(m_hwnd)) return ScrollBarGeometry(*s, m_bar);
  return ScrollBarGeometry(WindowState{}, m_bar);  // a window without bars: nothing to hit
}

POINT ScrollBarTracker::ToWindow(POINT screen) const {
  RECT window{};
  ::GetWindowRect(m_hwnd, &window);
  return POINT{screen.x - window.left, screen.y - window.top};
}

void ScrollBarTracker::RedrawBar() const {
  if (m_hwnd) ScrollBarPainter(m_hwnd).Paint();
}

}  // namespace platform::detail
