#include <gtest/gtest.h>

#include "platform/gdi.h"
#include "platform/surface.h"
#include "platform/windows.h"

namespace {

// Paints its whole client area red, and its background green when asked to erase.
class CRedWnd : public CWnd {
public:
  int paints{0};

protected:
  void OnPaint() {
    CPaintDC dc(this);
    ++paints;
    lastPaint = dc.m_ps.rcPaint;
    dc.FillSolidRect(-50, -50, 1000, 1000, RGB(255, 0, 0));
  }
  BOOL OnEraseBkgnd(CDC* dc) {
    if (dc) dc->FillSolidRect(0, 0, 1000, 1000, RGB(0, 255, 0));
    return TRUE;
  }

public:
  RECT lastPaint{};
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRedWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

COLORREF SurfacePixel(HWND hwnd, int x, int y) {
  platform::PaintTarget t = platform::GetPaintTarget(hwnd);
  std::uint32_t p = t.surface->Row(t.origin.y + y)[t.origin.x + x];
  return RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
}

class PaintDCTest : public ::testing::Test {
protected:
  void TearDown() override { platform::DestroyAllWindows(); }
};

TEST_F(PaintDCTest, PaintHandlerDrawsOnlyTheInvalidPart) {
  CRedWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "paint", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr));
  wnd.UpdateWindow();
  ASSERT_GE(wnd.paints, 1);
  EXPECT_EQ(SurfacePixel(wnd.GetSafeHwnd(), 10, 10), RGB(255, 0, 0));
  {
    CClientDC dc(&wnd);
    dc.FillSolidRect(0, 0, 100, 80, RGB(0, 0, 0));
  }
  CRect part(10, 10, 20, 20);
  wnd.InvalidateRect(&part, FALSE);
  wnd.UpdateWindow();
  EXPECT_EQ(CRect(wnd.lastPaint), part);
  EXPECT_EQ(SurfacePixel(wnd.GetSafeHwnd(), 15, 15), RGB(255, 0, 0));
  EXPECT_EQ(SurfacePixel(wnd.GetSafeHwnd(), 5, 5), RGB(0, 0, 0));
  EXPECT_EQ(SurfacePixel(wnd.GetSafeHwnd(), 25, 25), RGB(0, 0, 0));
}

TEST_F(PaintDCTest, DestroyedWindowLeavesItsContextHarmless) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "gone", WS_POPUP | WS_VISIBLE, 0, 0, 30, 30, nullptr, nullptr));
  HDC dc = GetDC(wnd.GetSafeHwnd());
  ASSERT_NE(dc, nullptr);
  HWND hwnd = wnd.GetSafeHwnd();
  wnd.DestroyWindow();
  CDC* wrapper = CDC::FromHandle(dc);
  wrapper->FillSolidRect(0, 0, 10, 10, RGB(1, 2, 3));
  EXPECT_EQ(wrapper->GetPixel(0, 0), CLR_INVALID);
  ReleaseDC(hwnd, dc);
}

}  // namespace
