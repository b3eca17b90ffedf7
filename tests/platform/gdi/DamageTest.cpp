// What drawing changed in a window's surface is kept as a few rectangles: areas far apart stay
// apart, close ones join, and a picture copied again onto the window notes only the pixels that
// differ, so the display is sent a stone rather than the board.
#include <gtest/gtest.h>

#include <vector>

#include "platform/damage.h"
#include "platform/gdi.h"
#include "platform/surface.h"
#include "platform/windows.h"

namespace {

template <class Handle>
HGDIOBJ Gdi(Handle handle) {
  return reinterpret_cast<HGDIOBJ>(handle);
}

bool Covers(const std::vector<RECT>& rects, const RECT& area) {
  for (const RECT& r : rects)
    if (r.left <= area.left && r.top <= area.top && r.right >= area.right && r.bottom >= area.bottom) return true;
  return false;
}

long long AreaOf(const std::vector<RECT>& rects) {
  long long sum = 0;
  for (const RECT& r : rects) sum += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  return sum;
}

TEST(DamageTest, FarAreasStayApartCloseOnesJoinAndTheCountStaysSmall) {
  platform::Damage damage;
  damage.Add(RECT{10, 10, 30, 30});
  damage.Add(RECT{500, 400, 520, 420});
  damage.Add(RECT{5, 5, 5, 50});  // empty
  ASSERT_EQ(damage.Rects().size(), 2u);
  // Touching, overlapping or a few pixels off: one rectangle.
  damage.Add(RECT{30, 10, 60, 30});
  damage.Add(RECT{64, 12, 80, 20});
  damage.Add(RECT{20, 34, 70, 40});  // a few rows below
  ASSERT_EQ(damage.Rects().size(), 2u);
  EXPECT_TRUE(Covers(damage.Rects(), RECT{10, 10, 80, 40}));
  // An area bridging two kept ones joins all three.
  damage.Add(RECT{300, 30, 310, 40});
  ASSERT_EQ(damage.Rects().size(), 3u);
  damage.Add(RECT{75, 10, 305, 40});
  ASSERT_EQ(damage.Rects().size(), 2u);
  EXPECT_TRUE(Covers(damage.Rects(), RECT{10, 10, 310, 40}));
  EXPECT_EQ(damage.Take().size(), 2u);
  EXPECT_TRUE(damage.Empty());
  // The two strips a window's enlargement uncovers touch at a corner; joined they would be the
  // whole window.
  damage.Add(RECT{840, 0, 1000, 740});
  damage.Add(RECT{0, 680, 1000, 740});
  EXPECT_EQ(AreaOf(damage.Take()), 160LL * 740 + 1000LL * 60);

  // A scatter of points: never more than the limit, every point still covered.
  std::vector<RECT> points;
  for (int i = 0; i < 60; ++i) {
    const LONG x = (i * 97) % 900, y = (i * 53) % 700;
    points.push_back(RECT{x, y, x + 3, y + 3});
  }
  for (const RECT& p : points) damage.Add(p);
  EXPECT_LE(damage.Rects().size(), platform::Damage::kMaxRects);
  for (const RECT& p : points) EXPECT_TRUE(Covers(damage.Rects(), p));
}

TEST(DamageTest, AWindowsSurfaceNotesWhatDrawingChangedAndNoMore) {
  HWND window = ::CreateWindowEx(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                                 nullptr);
  ASSERT_NE(window, nullptr);
  platform::Surface& surface = *platform::GetPaintTarget(window).surface;
  HDC dc = ::GetDC(window);
  HDC memory = ::CreateCompatibleDC(dc);
  HBITMAP picture = ::CreateCompatibleBitmap(dc, 400, 300);
  HGDIOBJ old = ::SelectObject(memory, Gdi(picture));
  HBRUSH ground = ::CreateSolidBrush(RGB(210, 170, 90));
  HBRUSH stone = ::CreateSolidBrush(RGB(0, 0, 0));
  const RECT all{0, 0, 400, 300};
  ::FillRect(memory, &all, ground);
  ::BitBlt(dc, 0, 0, 400, 300, memory, 0, 0, SRCCOPY);
  surface.damage.Clear();

  // The same picture again: nothing changed, nothing noted.
  ::BitBlt(dc, 0, 0, 400, 300, memory, 0, 0, SRCCOPY);
  EXPECT_TRUE(surface.damage.Empty());
  // Two stones in far corners, the whole picture copied: two small areas, the changes inside.
  const RECT first{20, 20, 40, 40}, second{350, 250, 370, 270};
  ::FillRect(memory, &first, stone);
  ::FillRect(memory, &second, stone);
  ::BitBlt(dc, 0, 0, 400, 300, memory, 0, 0, SRCCOPY);
  const std::vector<RECT> noted = surface.damage.Take();
  EXPECT_EQ(noted.size(), 2u);
  EXPECT_TRUE(Covers(noted, first));
  EXPECT_TRUE(Covers(noted, second));
  EXPECT_LT(AreaOf(noted), 400 * 300 / 20);
  EXPECT_EQ(surface.Row(30)[30], 0u);  // and the copy was made
  // A fill straight onto the window notes its own rectangle, not the window.
  const RECT filled{100, 100, 120, 110};
  ::FillRect(dc, &filled, stone);
  const std::vector<RECT> fill = surface.damage.Take();
  ASSERT_EQ(fill.size(), 1u);
  EXPECT_EQ(AreaOf(fill), 20 * 10);
  // A line or text straight onto the window, drawn with no fill under it, is noted too.
  CDC& onWindow = *platform::DcFromHandle(dc);
  onWindow.MoveTo(200, 50);
  onWindow.LineTo(260, 50);
  EXPECT_TRUE(Covers(surface.damage.Take(), RECT{200, 50, 260, 51}));
  onWindow.TextOut(200, 150, "go", 2);
  EXPECT_FALSE(surface.damage.Take().empty());
  // Reading a pixel changes nothing.
  platform::DcFromHandle(dc)->GetPixel(5, 5);
  EXPECT_TRUE(surface.damage.Empty());
  ::SelectObject(memory, old);
  ::DeleteObject(Gdi(picture));
  ::DeleteObject(Gdi(ground));
  ::DeleteObject(Gdi(stone));
  ::DeleteDC(memory);
  ::ReleaseDC(window, dc);
  ::DestroyWindow(window);
}

}  // namespace
