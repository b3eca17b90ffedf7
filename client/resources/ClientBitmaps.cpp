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

// Filled polygon of n points in colour, outlined in the same colour.
void Shape(CDC& dc, const POINT* points, int n, COLORREF colour) {
  CBrush brush(colour);
  CPen pen(PS_SOLID, 1, colour);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CPen* oldPen = dc.SelectObject(&pen);
  dc.Polygon(points, n);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

// A triangle pointing left (or right) with its tip at x, 9 pixels tall, centred on row 7.
void Arrow(CDC& dc, int x, bool left, COLORREF colour) {
  const int back = left ? x + 4 : x - 4;
  const POINT points[] = {{x, 7}, {back, 3}, {back, 11}};
  Shape(dc, points, 3, colour);
}

// Tool bar pictures, 16 x 15 each, in the tool bar's order: open, save, print, first, previous,
// next, last, help. The grey around them is the bar's own face.
void AddToolBarImages(platform::ResourceModule& module) {
  constexpr int kCount = 8;
  constexpr COLORREF kInk = RGB(0, 0, 0);
  constexpr COLORREF kNavy = RGB(0, 0, 128);
  const std::function<void(CDC&)> pictures[kCount] = {
      [&](CDC& dc) {  // open: a yellow folder with its lid lifted
        dc.FillSolidRect(1, 3, 6, 2, RGB(128, 128, 0));
        dc.FillSolidRect(1, 5, 11, 8, RGB(255, 255, 0));
        dc.Draw3dRect(1, 5, 11, 8, RGB(128, 128, 0), RGB(128, 128, 0));
        const POINT lid[] = {{4, 8}, {15, 8}, {12, 13}, {1, 13}};
        Shape(dc, lid, 4, RGB(128, 128, 0));
      },
      [&](CDC& dc) {  // save: a diskette with its label and shutter
        dc.FillSolidRect(1, 1, 14, 13, kNavy);
        dc.FillSolidRect(4, 2, 8, 5, RGB(255, 255, 255));
        dc.FillSolidRect(5, 9, 6, 5, RGB(192, 192, 192));
        dc.FillSolidRect(8, 10, 2, 3, kNavy);
      },
      [&](CDC& dc) {  // print: paper coming out of a printer
        dc.FillSolidRect(4, 1, 8, 5, RGB(255, 255, 255));
        dc.Draw3dRect(4, 1, 8, 5, kInk, kInk);
        dc.FillSolidRect(1, 6, 14, 6, RGB(128, 128, 128));
        dc.Draw3dRect(1, 6, 14, 6, kInk, kInk);
        dc.FillSolidRect(11, 8, 2, 1, RGB(0, 255, 0));
        dc.FillSolidRect(4, 11, 8, 3, RGB(255, 255, 255));
        dc.Draw3dRect(4, 11, 8, 3, kInk, kInk);
      },
      [&](CDC& dc) {  // first: a bar, then an arrow to the left
        dc.FillSolidRect(3, 3, 2, 9, kNavy);
        Arrow(dc, 6, true, kNavy);
        Arrow(dc, 10, true, kNavy);
      },
      [&](CDC& dc) { Arrow(dc, 5, true, kNavy); },  // previous
      [&](CDC& dc) { Arrow(dc, 10, false, kNavy); },  // next
      [&](CDC& dc) {  // last: an arrow to the right, then a bar
        Arrow(dc, 5, false, kNavy);
        Arrow(dc, 9, false, kNavy);
        dc.FillSolidRect(11, 3, 2, 9, kNavy);
      },
      [&](CDC& dc) {  // help: a question mark on a speech balloon
        CBrush brush(RGB(255, 255, 0));
        CPen pen(PS_SOLID, 1, kInk);
        CBrush* oldBrush = dc.SelectObject(&brush);
        CPen* oldPen = dc.SelectObject(&pen);
        dc.Ellipse(1, 0, 15, 12);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
        const POINT tail[] = {{4, 10}, {7, 10}, {3, 14}};
        Shape(dc, tail, 3, kInk);
        Text(dc, "?", CRect(1, 0, 15, 12), kNavy, 10, true);
      },
  };
  platform::AddBitmapResource(module, IDR_MAINFRAME, Paint(16 * kCount, 15, [&](CDC& dc) {
    dc.FillSolidRect(0, 0, 16 * kCount, 15, RGB(192, 192, 192));
    for (int i = 0; i < kCount; ++i) {
      dc.SetViewportOrg(i * 16, 0);
      pictures[i](dc);
    }
    dc.SetViewportOrg(0, 0);
  }));
}

// The program's picture: a corner of a board with a black and a white stone.
void AddProgramIcon(platform::ResourceModule& module) {
  platform::AddBitmapResource(module, IDB_PROGRAM_ICON, Paint(32, 32, [](CDC& dc) {
    dc.FillSolidRect(0, 0, 32, 32, RGB(214, 170, 90));
    for (int i = 4; i < 32; i += 8) {
      dc.FillSolidRect(4, i, 28, 1, RGB(60, 40, 10));
      dc.FillSolidRect(i, 4, 1, 28, RGB(60, 40, 10));
    }
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush black(RGB(0, 0, 0));
    CBrush* oldBrush = dc.SelectObject(&black);
    dc.Ellipse(6, 6, 19, 19);
    CBrush white(RGB(255, 255, 255));
    dc.SelectObject(&white);
    dc.Ellipse(14, 14, 27, 27);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
  }));
}

}  // namespace

void RegisterClientBitmaps(platform::ResourceModule& module) {
  AddProgramIcon(module);
  AddPanel(module);
  AddButtons(module);
  AddToolBarImages(module);
}
