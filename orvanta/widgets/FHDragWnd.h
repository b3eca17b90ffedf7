#pragma once
// CFHDragWnd: the floating copy of a heading that follows the mouse while the flat header drags
// a column.

#include <platform/controls_defs.h>
#include <platform/windows.h>

class CFlatHeaderCtrl;

class CFHDragWnd : public CWnd {
public:
  using CWnd::Create;
  // A top-most popup over screenRect showing heading index of header (item as pressed).
  BOOL Create(const CRect& screenRect, CFlatHeaderCtrl* header, int index, const HDITEM& item);
  // Centres the window on the screen point.
  void CentreOn(CPoint screenPoint);
  void PostNcDestroy() override;

protected:
  BOOL OnEraseBkgnd(CDC* dc);
  void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  CFlatHeaderCtrl* m_pHeader{nullptr};
  int m_nItem{-1};
  HDITEM m_item{};
  char m_text[80]{};
};
