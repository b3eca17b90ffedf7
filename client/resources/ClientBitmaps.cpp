#include "client/resources/ClientBitmaps.h"

#include <functional>

#include "client/resources/ClientIds.h"
#include "platform/gdi.h"
#include "platform/windows.h"

namespace {

constexpr COLORREF kBeige = RGB(242, 238, 223);
constexpr COLORREF kPanelEdge = RGB(150, 120, 80);
constexpr COLORREF kBarFace = RGB(206, 190, 156);

// Draws a width x height picture through a memory context and returns its pixels.
platform::Surface Paint(int width, int height, const std::function<void(CDC&)>& draw) {
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, width, height);
  CBitmap* old = memory.SelectObject(&bitmap);
  draw(memory);
  platform::Surface pixels;
  platform::CopyDCPixels(&memory, pixels);
  memory.SelectObject(old);
  ::ReleaseDC(nullptr, screen.Detach());
  return pixels;
}

void Text(CDC& dc, const char* text, CRect rect, COLORREF colour, int height, bool bold) {
  CFont font;
  font.CreateFont(-height, 0, 0, 0, bold ? 700 : 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
  CFont* old = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(colour);
  dc.DrawText(text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  dc.SelectObject(old);
}

// A picture button: three stacked images of width x height (normal, mouse over, disabled).
platform::Surface ButtonStrip(const char* caption, int width, int height) {
  return Paint(width, height * 3, [&](CDC& dc) {
    const COLORREF faces[3] = {RGB(236, 226, 200), RGB(255, 244, 214), RGB(222, 216, 204)};
    const COLORREF texts[3] = {RGB(70, 45, 20), RGB(160, 60, 10), RGB(160, 155, 145)};
    for (int i = 0; i < 3; ++i) {
      CRect face(0, i * height, width, (i + 1) * height);
      dc.FillSolidRect(&face, faces[i]);
      dc.Draw3dRect(&face, RGB(255, 255, 250), kPanelEdge);
      Text(dc, caption, face, texts[i], 11, i == 1);
    }
  });
}

void AddButtons(platform::ResourceModule& module) {
  struct Button {
    UINT id;
    const char* caption;
    int width;
  };
  const Button buttons[] = {
      {IDB_BTN_FIRST, "|<", 28},     {IDB_BTN_PREV, "<", 28},       {IDB_BTN_NEXT, ">", 28},
      {IDB_BTN_LAST, ">|", 28},      {IDB_BTN_DELAY, "delay", 56},  {IDB_BTN_REF, "ref", 56},
      {IDB_BTN_VOICE, "voice", 56},  {IDB_BTN_AUTOVIEW, "autoview", 64}, {IDB_BTN_SELF, "self", 56},
      {IDB_BTN_SEQ, "seq", 56},      {IDB_BTN_PLAYINFO, "playinfo", 64}, {IDB_BTN_EXIT, "exit", 56},
  };
  for (const Button& b : buttons) platform::AddBitmapResource(module, b.id, ButtonStrip(b.caption, b.width, 22));
}

void AddPanel(platform::ResourceModule& module) {
  platform::AddBitmapResource(module, IDB_PANEL_TOP, Paint(kPanelWidth, 200, [](CDC& dc) {
    dc.FillSolidRect(0, 0, kPanelWidth, 200, RGB(228, 214, 182));
    dc.FillSolidRect(0, 0, 3, 200, kPanelEdge);
    dc.FillSolidRect(kPanelWidth - 3, 0, 3, 200, kPanelEdge);
    dc.FillSolidRect(0, 0, kPanelWidth, 3, kPanelEdge);
  }));
  platform::AddBitmapResource(module, IDB_PANEL_MIDDLE, Paint(kPanelWidth, 20, [](CDC& dc) {
    dc.FillSolidRect(0, 0, kPanelWidth, 20, RGB(228, 214, 182));
    dc.FillSolidRect(0, 0, 3, 20, kPanelEdge);
    dc.FillSolidRect(kPanelWidth - 3, 0, 3, 20, kPanelEdge);
  }));
  platform::AddBitmapResource(module, IDB_PANEL_BOTTOM, Paint(kPanelWidth, 30, [](CDC& dc) {
    dc.FillSolidRect(0, 0, kPanelWidth, 30, RGB(228, 214, 182));
    dc.FillSolidRect(0, 0, 3, 30, kPanelEdge);
    dc.FillSolidRect(kPanelWidth - 3, 0, 3, 30, kPanelEdge);
    dc.FillSolidRect(0, 27, kPanelWidth, 3, kPanelEdge);
  }));
  platform::AddBitmapResource(module, IDB_BAR_LEFT, Paint(16, kButtonBarHeight, [](CDC& dc) {
    dc.FillSolidRect(0, 0, 16, kButtonBarHeight, kBarFace);
    dc.FillSolidRect(0, 0, 3, kButtonBarHeight, kPanelEdge);
    dc.FillSolidRect(0, 0, 16, 2, kPanelEdge);
  }));
  platform::AddBitmapResource(module, IDB_BAR_TILE, Paint(64, kButtonBarHeight, [](CDC& dc) {
    dc.FillSolidRect(0, 0, 64, kButtonBarHeight, kBarFace);
    dc.FillSolidRect(0, 0, 64, 2, kPanelEdge);
    dc.FillSolidRect(61, 0, 3, kButtonBarHeight, kPanelEdge);
  }));
  platform::AddBitmapResource(module, IDB_BACKGROUND, Paint(64, 64, [](CDC& dc) {
    dc.FillSolidRect(0, 0, 64, 64, kBeige);
    for (int y = 0; y < 64; y += 8) dc.FillSolidRect(0, y, 64, 1, RGB(236, 231, 214));
  }));
}

// Tool bar images, 16 x 15 each: open, save, print, first, previous, next, last, help.
void AddToolBarImages(platform::ResourceModule& module) {
  const char* glyphs[] = {"O", "S", "P", "|<", "<", ">", ">|", "?"};
  constexpr int kCount = 8;
  platform::AddBitmapResource(module, IDR_MAINFRAME, Paint(16 * kCount, 15, [&](CDC& dc) {
    dc.FillSolidRect(0, 0, 16 * kCount, 15, RGB(192, 192, 192));
    for (int i = 0; i < kCount; ++i) Text(dc, glyphs[i], CRect(i * 16, 0, i * 16 + 16, 15), RGB(0, 0, 128), 10, true);
  }));
}

}  // namespace

void RegisterClientBitmaps(platform::ResourceModule& module) {
  AddPanel(module);
  AddButtons(module);
  AddToolBarImages(module);
}
