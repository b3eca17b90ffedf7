#include <benchmark/benchmark.h>

#include "platform/gdi.h"

namespace {

struct Canvas {
  Canvas(int w, int h) {
    dc.CreateCompatibleDC(nullptr);
    CClientDC screen(nullptr);
    bitmap.CreateCompatibleBitmap(&screen, w, h);
    old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, w, h, RGB(200, 160, 90));
  }
  ~Canvas() { dc.SelectObject(old); }
  CDC dc;
  CBitmap bitmap;
  CBitmap* old{nullptr};
};

void BM_BitBltFullCopy(benchmark::State& state) {
  Canvas src(800, 600), dst(800, 600);
  for (auto _ : state) {
    dst.dc.BitBlt(0, 0, 800, 600, &src.dc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BitBltFullCopy);

void BM_StretchBltDouble(benchmark::State& state) {
  Canvas src(400, 300), dst(800, 600);
  dst.dc.SetStretchBltMode(COLORONCOLOR);
  for (auto _ : state) {
    dst.dc.StretchBlt(0, 0, 800, 600, &src.dc, 0, 0, 400, 300, SRCCOPY);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StretchBltDouble);

void BM_MaskedBlit(benchmark::State& state) {
  Canvas texture(64, 64), work(64, 64);
  CBitmap mask;
  mask.CreateBitmap(64, 64, 1, 1, nullptr);
  CDC maskDc;
  maskDc.CreateCompatibleDC(nullptr);
  CBitmap* old = maskDc.SelectObject(&mask);
  for (auto _ : state) {
    texture.dc.BitBlt(0, 0, 64, 64, &maskDc, 0, 0, SRCAND);
    texture.dc.BitBlt(0, 0, 64, 64, &work.dc, 0, 0, SRCPAINT);
  }
  maskDc.SelectObject(old);
}
BENCHMARK(BM_MaskedBlit);

void BM_ThousandShortDrawTexts(benchmark::State& state) {
  Canvas canvas(300, 100);
  CFont font;
  font.CreatePointFont(90, "MS Sans Serif");
  CFont* old = canvas.dc.SelectObject(&font);
  canvas.dc.SetBkMode(TRANSPARENT);
  CRect r(0, 0, 300, 20);
  canvas.dc.DrawText("Game 12: B+R", -1, &r, DT_SINGLELINE | DT_VCENTER);  // warms the glyph cache
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) canvas.dc.DrawText("Game 12: B+R", -1, &r, DT_SINGLELINE | DT_VCENTER);
  }
  canvas.dc.SelectObject(old);
}
BENCHMARK(BM_ThousandShortDrawTexts)->Unit(benchmark::kMillisecond);

}  // namespace
