#pragma once
// CFHDropWnd: the flat header's drop indicator, two red arrows above and below the header that
// point at the place a dragged column would land.

#include <vector>

#include <platform/gdi_objects.h>
#include <platform/windows.h>

class CFHDropWnd : public CWnd {
public:
  using CWnd::Create;
  static constexpr int kWidth = 12;
  // How far the arrows stand out above and below the header.
  static constexpr int kOverhang = 10;

  explicit CFHDropWnd(COLORREF colour);
  ~CFHDropWnd() override;

  // A hidden top-most popup for a header of headerHeight pixels.
  BOOL Create(int headerHeight);
  // Shows the indicator at screen point (x, y): x the divider, y the header's middle.
  void ShowAt(int x, int y);
  int GetHeight() const { return m_nHeight; }
  // The outline: a down arrow at the top and an up arrow at the bottom of a window height high.
  static std::vector<POINT> DownArrow();
  static std::vector<POINT> UpArrow(int height);

  void PostNcDestroy() override;

protected:
  BOOL OnEraseBkgnd(CDC* dc);
  void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  CBrush m_brush;
  CRgn m_region;
  int m_nHeight{0};
};
