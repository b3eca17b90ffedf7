#pragma once
// A mouse gesture on a window's own scroll bar: a press on an arrow or the track that repeats
// while held, or a drag of the thumb. The bar tells its window with WM_VSCROLL / WM_HSCROLL
// (lParam 0) and never moves the position itself: the window does, as it sees fit.

#include "ScrollBarGeometry.h"

namespace platform::detail {

class ScrollBarTracker {
public:
  // The gesture in progress; there is one mouse, so there is at most one.
  static ScrollBarTracker& Current();

  // A button press at a screen point on the bar a hit test named (HTVSCROLL or HTHSCROLL).
  void Press(HWND hwnd, int hitCode, POINT screen);
  void Move(HWND hwnd, POINT screen);
  void Release(HWND hwnd, POINT screen);
  // The window lost the capture: the gesture ends.
  void CaptureLost(HWND hwnd);
  // The window is going: the gesture is dropped without a word, its handle never kept.
  void Forget(HWND hwnd);
  bool Tracking(HWND hwnd) const { return hwnd && hwnd == m_hwnd; }
  // The hit test code of the bar being tracked (HTVSCROLL or HTHSCROLL).
  int HitCode() const;

  // For painting: the part of hwnd's bar held down with the pointer over it (None otherwise).
  ScrollBarPart HeldPart(HWND hwnd, int bar) const;
  // For painting: where the thumb of hwnd's bar shows (the tracked position while it is dragged).
  int ThumbPos(HWND hwnd, int bar, int pos) const;

private:
  static void OnTimer(HWND, UINT, UINT_PTR, DWORD);
  void Repeat();
  // Sends the held part's code when the pointer is still over that part.
  void Step();
  void DragTo(int along);
  void Send(UINT code, int pos = 0);
  void Arm(UINT delay);
  void Disarm();
  // Ends the gesture: SB_ENDSCROLL, capture released, the bar drawn at rest.
  void Finish();
  // Forgets the gesture without telling anyone (its window is gone).
  void Drop();
  // The window is alive and still holds the capture for this gesture.
  bool StillOurs() const;
  ScrollBarGeometry Geometry() const;
  POINT ToWindow(POINT screen) const;
  void RedrawBar() const;

  HWND m_hwnd{nullptr};
  int m_bar{SB_VERT};
  ScrollBarPart m_part{ScrollBarPart::None};
  POINT m_point{0, 0};  // the pointer, window coordinates
  int m_grab{0};        // where the pointer holds the thumb, from the thumb's start
  int m_trackPos{0};    // the dragged thumb's position
  UINT_PTR m_timer{0};
};

}  // namespace platform::detail
