#pragma once
// Progress bars and sliders (trackbars).

#include "platform/controls_defs.h"
#include "platform/windows.h"

// Progress bar style asking for a continuous bar rather than blocks; kept with the window's style.
constexpr DWORD PBS_SMOOTH = 0x01;

class CProgressCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetRange(short lower, short upper);
  void SetRange32(int lower, int upper);
  void GetRange(int& lower, int& upper) const;
  // Each returns the previous position; positions are kept inside the range.
  int SetPos(int pos);
  int GetPos() const;
  int OffsetPos(int delta);
  int SetStep(int step);
  // Advances by the step, starting again from the bottom past the top.
  int StepIt();
};

// Moves by the user reach the parent as WM_HSCROLL (WM_VSCROLL with TBS_VERT), ending with
// TB_ENDTRACK.
class CSliderCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetRange(int min, int max, BOOL redraw = FALSE);
  void GetRange(int& min, int& max) const;
  int GetRangeMin() const;
  int GetRangeMax() const;
  // Kept inside the range; no notification.
  void SetPos(int pos);
  int GetPos() const;
  int SetPageSize(int size);
  int GetPageSize() const;
  int SetLineSize(int size);
  int GetLineSize() const;
};
