#pragma once
// CFixedSplitterWnd: the main frame's two-row splitter. The lower row always keeps the main menu
// pane's height and the bar between the rows cannot be dragged.

#include <platform/splitter.h>

class CFixedSplitterWnd : public CSplitterWnd {
  DECLARE_DYNAMIC(CFixedSplitterWnd)
public:
  // Client height kept for the lower row (the bar included).
  static constexpr int kLowerRowHeight = 62;

  // The upper row's height for a client height: all but the lower row, at least 1.
  static int UpperRowHeight(int clientHeight);

protected:
  void OnSize(UINT type, int cx, int cy);
  // Swallowed: the bar is never tracked.
  void OnLButtonDown(UINT flags, CPoint point);
  DECLARE_MESSAGE_MAP()
};
