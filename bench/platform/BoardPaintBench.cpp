// What a board repaint costs: the grid alone, then a whole board-like picture (background, grid,
// star points, stones, coordinates) on a memory context, as a board view paints into its buffer.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "platform/gdi.h"

namespace {

constexpr int kLines = 19;
constexpr int kSpacing = 30;
constexpr int kMargin = 30;
constexpr int kLength = (kLines - 1) * kSpacing + kSpacing;  // 540 pixels
constexpr int kSize = kMargin * 2 + kLength;

struct Board {
  Board() {
    dc.CreateCompatibleDC(nullptr);
    CClientDC screen(nullptr);
    bitmap.CreateCompatibleBitmap(&screen, kSize, kSize);
    old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, kSize, kSize, RGB(220, 180, 110));
  }
  ~Board() { dc.SelectObject(old); }

  void Grid() {
    for (int i = 0; i < kLines; ++i) {
      int at = kMargin + i * kSpacing;
      dc.MoveTo(kMargin, at);
      dc.LineTo(kMargin + kLength, at);
      dc.MoveTo(at, kMargin);
      dc.LineTo(at, kMargin + kLength);
    }
  }

  CDC dc;
  CBitmap bitmap;
  CBitmap* old{nullptr};
};

void BM_GridOf38Lines(benchmark::State& state) {
  Board board;
  for (auto _ : state) {
    board.Grid();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * kLines);
}
BENCHMARK(BM_GridOf38Lines)->Unit(benchmark::kMicrosecond);

void BM_BoardRepaint(benchmark::State& state) {
  Board board;
  CBrush black(RGB(0, 0, 0)), white(RGB(255, 255, 255));
  CFont font;
  font.CreatePointFont(90, "Arial");
  CFont* oldFont = board.dc.SelectObject(&font);
  board.dc.SetBkMode(TRANSPARENT);
  char labels[kLines][4];
  for (int i = 0; i < kLines; ++i) std::snprintf(labels[i], sizeof labels[i], "%d", kLines - i);
  CPen* oldPen = board.dc.GetCurrentPen();
  for (auto _ : state) {
    board.dc.FillSolidRect(0, 0, kSize, kSize, RGB(220, 180, 110));
    board.Grid();
    int r = kSpacing / 2 - 1;
    // 250 stones on the points in reading order, alternating colours.
    for (int n = 0; n < 250; ++n) {
      int x = kMargin + (n % kLines) * kSpacing, y = kMargin + (n / kLines) * kSpacing;
      CBrush* oldBrush = board.dc.SelectObject(n % 2 ? &white : &black);
      board.dc.Ellipse(x - r, y - r, x + r + 1, y + r + 1);
      board.dc.SelectObject(oldBrush);
    }
    for (int i = 0; i < kLines; ++i) {
      int at = kMargin + i * kSpacing;
      char letter[2] = {static_cast<char>('A' + i + (i >= 8 ? 1 : 0)), '\0'};
      board.dc.TextOut(at - 4, 4, letter, 1);
      board.dc.TextOut(4, at - 7, labels[i], static_cast<int>(std::char_traits<char>::length(labels[i])));
    }
    benchmark::ClobberMemory();
  }
  board.dc.SelectObject(oldPen);
  board.dc.SelectObject(oldFont);
}
BENCHMARK(BM_BoardRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
