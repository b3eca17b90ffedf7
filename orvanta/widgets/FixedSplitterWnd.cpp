#include "orvanta/widgets/FixedSplitterWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFixedSplitterWnd, CSplitterWnd)

BEGIN_MESSAGE_MAP(CFixedSplitterWnd, CSplitterWnd)
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

int CFixedSplitterWnd::UpperRowHeight(int clientHeight) { return std::max(1, clientHeight - kLowerRowHeight); }

void CFixedSplitterWnd::OnSize(UINT type, int cx, int cy) {
  if (GetRowCount() > 0) {
    const int upper = UpperRowHeight(cy);
    SetRowInfo(0, upper, upper);
  }
  CSplitterWnd::OnSize(type, cx, cy);
}

void CFixedSplitterWnd::OnLButtonDown(UINT, CPoint) {}
